#include "preview.h"

#include "data/jetwriter_fixtures.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace vq::editor {

QString presenterProgram() {
    const QString beside =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("velquo"));
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStandardPaths::findExecutable(QStringLiteral("velquo"));
}

std::unique_ptr<QTemporaryDir> startPreview(const QList<Row>& rows, const QString& presenter) {
    const QFileInfo program(presenter);
    if (presenter.isEmpty() || !program.isExecutable())
        throw vq::Exception(QStringLiteral("找不到放映程序 velquo，无法预览。"));
    auto dir = std::make_unique<QTemporaryDir>(
        QDir::temp().filePath(QStringLiteral("velquo-preview-XXXXXX")));
    if (!dir->isValid())
        throw vq::Exception(QStringLiteral("无法建立临时文件夹：%1").arg(dir->errorString()));
    // The presenter finds its settings, pictures and sounds in its own folder and the bank and
    // next-step picture in the current one: the copy is both.
    const QDir from = program.canonicalPath().isEmpty()
                          ? program.absoluteDir()
                          : QFileInfo(program.canonicalFilePath()).absoluteDir();
    const QString copy = dir->filePath(QStringLiteral("velquo"));
    if (!QFile::copy(program.canonicalFilePath(), copy))
        throw vq::Exception(QStringLiteral("无法复制放映程序到 %1").arg(dir->path()));
    for (const char* name : {"opt.ini", "bg.jpg", "welcome.jpg", "di.wav", "0.wav", "next.png"}) {
        const QString source = from.filePath(QString::fromLatin1(name));
        if (QFileInfo::exists(source))
            QFile::copy(source, dir->filePath(QString::fromLatin1(name)));
    }
    saveBank(dir->filePath(QStringLiteral("db.DLL")), rows, vq::jet::kBankPassword);
    QProcess process;
    process.setProgram(copy);
    process.setWorkingDirectory(dir->path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kPreviewWindowVariable), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    if (!process.startDetached())
        throw vq::Exception(QStringLiteral("无法启动放映程序 %1").arg(copy));
    return dir;
}

} // namespace vq::editor
