#include "support/temp_install.h"

#include "platform/ansi.h"
#include "platform/folders.h"

#include <QFile>

namespace vq::test {

TempInstall::TempInstall(bool alsoCurrentFolder) : m_current(alsoCurrentFolder) {
    useProgramFolder(m_dir.path());
    if (m_current) {
        m_oldCurrent = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
}

TempInstall::~TempInstall() {
    useProgramFolder(QString());
    if (m_current)
        QDir::setCurrent(m_oldCurrent);
    // Leave nothing read-only behind, or the folder cannot be removed.
    QDir dir(m_dir.path());
    for (const QString& name : dir.entryList(QDir::Files))
        QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TempInstall::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempInstall::readFile(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TempInstall::writeSettings(const QStringList& keyValues) const {
    QByteArray out = "[canshu]\r\n";
    for (const QString& kv : keyValues)
        out += toAnsi(kv) + "\r\n";
    writeFile(QStringLiteral("opt.ini"), out);
}

QStringList TempInstall::defaultSettings() {
    return {
        QStringLiteral("biaoti=答题活动标题"),   QStringLiteral("biaoti_fontsize=25"),
        QStringLiteral("biaoti_color=16777215"), QStringLiteral("biaoti_left=48"),
        QStringLiteral("biaoti_top=72"),         QStringLiteral("shijian=10"),
        QStringLiteral("shijian_fontsize=40"),   QStringLiteral("shijian_color=65535"),
        QStringLiteral("shijian_left=792"),      QStringLiteral("shijian_top=112"),
        QStringLiteral("shijian_sound=1"),       QStringLiteral("wenti_fontsize=14"),
        QStringLiteral("wenti_color=16777215"),  QStringLiteral("wenti_width=600"),
        QStringLiteral("wenti_left=256"),        QStringLiteral("wenti_top=216"),
        QStringLiteral("daan_fontsize=14"),      QStringLiteral("daan_color=16777215"),
        QStringLiteral("daan_width=600"),        QStringLiteral("daan_left=264"),
        QStringLiteral("daan_top=280"),          QStringLiteral("huanying=0"),
        QStringLiteral("weizhishezhi=0"),
    };
}

} // namespace vq::test
