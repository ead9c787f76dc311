#pragma once

#include <QString>

class QWidget;

namespace vq {

// The application title: taskbar entry and caption of every message box.
inline const QString kApplicationTitle = QStringLiteral("Velquo晚会出题系统");

// Every box the program shows goes through one replaceable service, so that tests can see
// what was shown and answer it without a modal loop.
class MessageService {
public:
    virtual ~MessageService() = default;
    // Error box: text already formatted, application title, error icon, one OK button.
    virtual void errorBox(const QString& text) = 0;
    // Program's own message: application title, no icon, one OK button, centred on the screen.
    virtual void messageBox(const QString& text) = 0;
    // Yes/No question with the question icon; true for Yes.
    virtual bool question(QWidget* owner, const QString& text, const QString& caption) = 0;
};

// The service in use: one a caller installed, else the program's own boxes (the message boxes
// the application object provides), else the standard error stream where there are none.
MessageService& messages();
// Installs a service (not owned); nullptr restores the program's own boxes.
void setMessageService(MessageService* service);
// The program's own boxes (not owned), given by the application object.
void setProgramMessageService(MessageService* service);

// The error box's text: the message, plus a full stop when its last character sorts after "."
QString errorBoxText(const QString& message);
// Shows a failure the way the framework reports an unguarded one.
void showErrorBox(const QString& message);
void showMessageBox(const QString& text);

} // namespace vq
