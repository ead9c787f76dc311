#include "bankreplacement.h"

#include "platform/exception.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace vq::bank {

bool FileSteps::remove(const QString& path) {
    return QFile::remove(path);
}

bool FileSteps::rename(const QString& from, const QString& to) {
    return QFile::rename(from, to);
}

FileSteps& realFileSteps() {
    static FileSteps steps;
    return steps;
}

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("velquo-bank", text);
}

// A fresh name beside the target, so that a rename puts it in place within one folder.
QString reserveBeside(const QFileInfo& target) {
    QTemporaryFile reserve(target.absolutePath() + u'/' + target.fileName() +
                           QStringLiteral(".new-XXXXXX"));
    reserve.setAutoRemove(false);
    if (!reserve.open())
        throw Exception(tr("无法创建 %1：%2").arg(target.filePath(), reserve.errorString()));
    return reserve.fileName();
}

} // namespace

QString replaceKeepingBackup(const QString& target,
                             const std::function<void(const QString&)>& writeTo, FileSteps& steps) {
    const QFileInfo info(target);
    const QString fresh = reserveBeside(info);
    try {
        writeTo(fresh);
    } catch (...) {
        steps.remove(fresh);
        throw;
    }
    QString backup;
    if (info.exists() || info.isSymLink()) {
        backup = target + QStringLiteral(".bak");
        // A backup from an earlier replacement gives way to this one's.
        if ((QFileInfo::exists(backup) || QFileInfo(backup).isSymLink()) && !steps.remove(backup)) {
            steps.remove(fresh);
            throw Exception(tr("无法把原来的 %1 保留为 %2，什么都没有改动").arg(target, backup));
        }
        if (!steps.rename(target, backup)) {
            steps.remove(fresh);
            throw Exception(tr("无法把原来的 %1 保留为 %2，什么都没有改动").arg(target, backup));
        }
    }
    if (!steps.rename(fresh, target)) {
        if (!backup.isEmpty() && !steps.rename(backup, target)) {
            // Nothing is removed now: the old bank is safe as the backup, the new one beside it.
            throw Exception(
                tr("无法写入 %1：原来的题库保留为 %2，新的题库在 %3").arg(target, backup, fresh));
        }
        steps.remove(fresh);
        throw Exception(tr("无法写入 %1，原来的题库没有改动").arg(target));
    }
    return backup;
}

} // namespace vq::bank
