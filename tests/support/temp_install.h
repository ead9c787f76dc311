#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace vq::test {

// A temporary installation: its folder is the program folder (and, when asked, the current
// folder) while the object lives.
class TempInstall {
public:
    explicit TempInstall(bool alsoCurrentFolder = false);
    ~TempInstall();
    TempInstall(const TempInstall&) = delete;
    TempInstall& operator=(const TempInstall&) = delete;

    QString folder() const { return m_dir.path() + u'/'; }
    QString file(const QString& name) const { return folder() + name; }

    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    // opt.ini from "key=value" lines, GBK, CR LF, in section canshu.
    void writeSettings(const QStringList& keyValues) const;
    // The complete set of the 23 keys with a designed, consistent layout.
    static QStringList defaultSettings();

private:
    QTemporaryDir m_dir;
    QString m_oldCurrent;
    bool m_current;
};

} // namespace vq::test
