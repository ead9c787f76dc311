#include "platform/application.h"
#include "platform/messages.h"

#include <QLabel>

int main(int argc, char** argv) {
    vq::Application app(argc, argv);
    QApplication::setApplicationDisplayName(vq::kApplicationTitle);
    QLabel placeholder(QStringLiteral("晚会随机出题系统"));
    placeholder.showMaximized();
    return QApplication::exec();
}
