#include "mediafolder.h"

#include "data/bankschema.h"
#include "optionalcolumns.h"
#include "platform/exception.h"
#include "platform/files.h"
#include "platform/sound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vq::editor {
namespace {

// Whether the two files hold the same bytes.
bool sameContent(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly) ||
        !second.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kChunk = 1 << 16;
    while (!first.atEnd()) {
        const QByteArray x = first.read(kChunk);
        if (x.isEmpty() || x != second.read(kChunk))
            return false;
    }
    return true;
}

// The file's name as the show's Windows machine can hold it.
QString windowsName(const QString& name) {
    QString out = name;
    for (QChar& c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"<>:\"|?*\\").contains(c))
            c = u'_';
    return out;
}

} // namespace

bool isPictureFile(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == u"jpg" || ext == u"jpeg" || ext == u"png" || ext == u"bmp" || ext == u"gif";
}

bool isClipFile(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"wav" || ext == u"ogg" || ext == u"flac" || ext == u"mp3")
        return true;
    QFile file(path);
    return openRegularFile(file, nullptr) && soundKindOf(file.read(12)) != SoundKind::Other;
}

QString MediaFolder::besideBank(const QString& bankPath) {
    return QFileInfo(bankPath).dir().filePath(bankschema::kMediaFolder);
}

QString MediaFolder::take(const QString& source) const {
    const QFileInfo from(source);
    if (!from.isFile())
        throw vq::Exception(QStringLiteral("找不到文件 %1").arg(QDir::toNativeSeparators(source)));
    if (!QDir().mkpath(m_folder))
        throw vq::Exception(
            QStringLiteral("无法建立文件夹 %1").arg(QDir::toNativeSeparators(m_folder)));
    // Already in the folder: named where it lies, with the show's separators.
    const QString folder = QFileInfo(m_folder).canonicalFilePath();
    const QString canonical = from.canonicalFilePath();
    if (canonical.startsWith(folder + u'/'))
        return canonical.mid(folder.size() + 1);

    const QString name = windowsName(from.fileName());
    const QString base = QFileInfo(name).completeBaseName();
    const QString suffix = QFileInfo(name).suffix();
    for (int n = 1;; ++n) {
        const QString candidate = n == 1 ? name
                                         : QStringLiteral("%1 (%2)%3")
                                               .arg(base)
                                               .arg(n)
                                               .arg(suffix.isEmpty() ? QString() : u'.' + suffix);
        if (candidate.size() > vq::bank::kLongestMediaName)
            throw vq::Exception(QStringLiteral("文件名太长：题库最多存 %1 个字符")
                                    .arg(vq::bank::kLongestMediaName));
        const QString target = QDir(m_folder).filePath(candidate);
        if (!QFileInfo::exists(target)) {
            if (!QFile::copy(source, target))
                throw vq::Exception(
                    QStringLiteral("无法把 %1 复制到 %2")
                        .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(m_folder)));
            return candidate;
        }
        if (sameContent(source, target))
            return candidate;
    }
}

} // namespace vq::editor
