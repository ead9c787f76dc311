#include "platform/messages.h"

#include <cstdio>

namespace vq {
namespace {

// Where a program without windows reports: one line a box on the standard error stream.
class StandardErrorMessages final : public MessageService {
public:
    void errorBox(const QString& text) override { print(text); }
    void messageBox(const QString& text) override { print(text); }
    bool question(QWidget*, const QString& text, const QString&) override {
        print(text);
        return false;
    }

private:
    static void print(const QString& text) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
};

StandardErrorMessages g_standardError;
MessageService* g_program = nullptr;
MessageService* g_installed = nullptr;

} // namespace

MessageService& messages() {
    if (g_installed)
        return *g_installed;
    return g_program ? *g_program : g_standardError;
}

void setMessageService(MessageService* service) {
    g_installed = service;
}

void setProgramMessageService(MessageService* service) {
    g_program = service;
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
