#include "platform/messages.h"

#include "platform/showscreen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>

namespace vq {
namespace {

// A box without an owner, centred on the show's screen. It takes its final size only while
// being shown, so it is centred then, before it appears.
class CentredBox final : public QMessageBox {
public:
    CentredBox(Icon icon, const QString& text, StandardButtons buttons)
        : QMessageBox(icon, kApplicationTitle, text, buttons) {
        if (QScreen* screen = showScreen())
            setScreen(screen);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        centreOnShowScreen(*this);
    }
};

class QtMessageService final : public MessageService {
public:
    void errorBox(const QString& text) override {
        // Over its owner when there is one; before the main screen is up, on the show's screen.
        if (QWidget* owner = QApplication::activeWindow()) {
            QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok, owner);
            box.exec();
        } else {
            CentredBox box(QMessageBox::Critical, text, QMessageBox::Ok);
            box.exec();
        }
    }
    void messageBox(const QString& text) override {
        CentredBox box(QMessageBox::NoIcon, text, QMessageBox::Ok);
        box.exec();
    }
    bool question(QWidget* owner, const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                        owner);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        return box.exec() == QMessageBox::Yes;
    }
};

QtMessageService g_qtService;
MessageService* g_service = nullptr;

} // namespace

MessageService& messages() {
    return g_service ? *g_service : g_qtService;
}

void setMessageService(MessageService* service) {
    g_service = service;
}

QString errorBoxText(const QString& message) {
    if (message.isEmpty())
        return message;
    // Byte order of the ANSI text: every non-ASCII character's last GBK byte is >= 0x40.
    const QChar last = message.back();
    if (last.unicode() > u'.')
        return message + u'.';
    return message;
}

void showErrorBox(const QString& message) {
    messages().errorBox(errorBoxText(message));
}

void showMessageBox(const QString& text) {
    messages().messageBox(text);
}

} // namespace vq
