#include "preview.h"

#include "data/bankschema.h"
#include "data/jetwriter.h"
#include "mediafolder.h"
#include "platform/exception.h"
#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace vq::editor {
namespace {

// The presenter itself, not the menu entry's launcher script of the same name.
bool isPresenter(const QString& path) {
    QFile f(path);
    if (!QFileInfo(path).isExecutable() || !f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4);
    return head == "\x7F"
                   "ELF" ||
           head.startsWith("MZ");
}

} // namespace

std::optional<PresenterInstallation> findInstallation(const QString& bankPath) {
    const QString name = vq::programFileName(QStringLiteral("velquo"));
    const QDir app(QCoreApplication::applicationDirPath());
    const QList<PresenterInstallation> candidates{
        {QFileInfo(bankPath).dir().filePath(name), QFileInfo(bankPath).absolutePath()},
        {QDir::home().filePath(QStringLiteral("晚会出题/") + name),
         QDir::home().filePath(QStringLiteral("晚会出题"))},
        {app.filePath(QStringLiteral("../lib/velquo/") + name),
         app.filePath(QStringLiteral("../share/velquo/demo"))},
        {app.filePath(name), app.path()},
        // A build tree: the editor in tools/editor, the presenter and the demo at the top.
        {app.filePath(QStringLiteral("../../") + name),
         app.filePath(QStringLiteral("../../demo-install"))},
    };
    for (const PresenterInstallation& c : candidates)
        if (!bankPath.isEmpty() || &c != &candidates.front())
            if (isPresenter(c.program) && QFileInfo(c.folder).isDir())
                return PresenterInstallation{QFileInfo(c.program).canonicalFilePath(),
                                             QFileInfo(c.folder).canonicalFilePath()};
    return std::nullopt;
}

std::unique_ptr<QTemporaryDir>
startPreview(const QList<Row>& rows, const PresenterInstallation& from, const QString& media) {
    if (!QFileInfo(from.program).isExecutable())
        throw vq::Exception(QStringLiteral("找不到放映程序，无法预览。"));
    auto dir = std::make_unique<QTemporaryDir>(
        QDir::temp().filePath(QStringLiteral("velquo-preview-XXXXXX")));
    if (!dir->isValid())
        throw vq::Exception(QStringLiteral("无法建立临时文件夹：%1").arg(dir->errorString()));
    // The presenter finds its settings, pictures and sounds in its own folder and the bank and
    // the next-step picture in the current one: the copy is both.
    const QString copy = dir->filePath(QFileInfo(from.program).fileName());
    if (!QFile::copy(from.program, copy))
        throw vq::Exception(QStringLiteral("无法复制放映程序到 %1").arg(dir->path()));
    const QDir folder(from.folder);
    for (const char* name : {"opt.ini", "bg.jpg", "welcome.jpg", "di.wav", "0.wav", "next.png"}) {
        const QString source = folder.filePath(QString::fromLatin1(name));
        const QString target = dir->filePath(QString::fromLatin1(name));
        // Copies of read-only installed files must stay writable: the preview's settings
        // dialog may save opt.ini.
        if (QFileInfo::exists(source) && QFile::copy(source, target))
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    saveBank(dir->filePath(QStringLiteral("db.DLL")), rows, vq::jet::kBankPassword);
    // The show looks for them beside its bank.
    if (!media.isEmpty())
        copyNamedMedia(rows, media, dir->filePath(bankschema::kMediaFolder));
    QProcess process;
    process.setProgram(copy);
    process.setWorkingDirectory(dir->path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELQUO_PREVIEW_WINDOW"), QStringLiteral("1"));
    vq::letCopyLoadFrom(QFileInfo(from.program).absolutePath(), dir->path(), &env);
    process.setProcessEnvironment(env);
    if (!process.startDetached())
        throw vq::Exception(QStringLiteral("无法启动放映程序 %1").arg(copy));
    return dir;
}

} // namespace vq::editor
