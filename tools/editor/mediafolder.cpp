#include "mediafolder.h"

#include "data/bankschema.h"
#include "mediacheck.h"
#include "optionalcolumns.h"
#include "platform/exception.h"
#include "platform/files.h"
#include "platform/sound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

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

QString MediaFolder::placeFor(const QString& wanted,
                              const std::function<bool(const QString&)>& holds,
                              bool& present) const {
    if (!QDir().mkpath(m_folder))
        throw vq::Exception(
            QStringLiteral("无法建立文件夹 %1").arg(QDir::toNativeSeparators(m_folder)));
    const QString name = windowsName(wanted);
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
        present = QFileInfo::exists(target);
        if (!present || holds(target))
            return candidate;
    }
}

QString MediaFolder::take(const QString& source) const {
    const QFileInfo from(source);
    if (!from.isFile())
        throw vq::Exception(QStringLiteral("找不到文件 %1").arg(QDir::toNativeSeparators(source)));
    // Already in the folder: named where it lies, with the show's separators.
    if (QDir().exists(m_folder)) {
        const QString folder = QFileInfo(m_folder).canonicalFilePath();
        const QString canonical = from.canonicalFilePath();
        if (canonical.startsWith(folder + u'/'))
            return canonical.mid(folder.size() + 1);
    }
    bool present = false;
    const QString name = placeFor(
        from.fileName(), [&](const QString& target) { return sameContent(source, target); },
        present);
    const QString target = QDir(m_folder).filePath(name);
    if (!present && !QFile::copy(source, target))
        throw vq::Exception(
            QStringLiteral("无法把 %1 复制到 %2")
                .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(m_folder)));
    return name;
}

QString MediaFolder::take(const QString& wanted, const QByteArray& bytes) const {
    bool present = false;
    const QString name = placeFor(
        wanted,
        [&](const QString& target) {
            QFile f(target);
            return f.size() == bytes.size() && f.open(QIODevice::ReadOnly) && f.readAll() == bytes;
        },
        present);
    if (present)
        return name;
    QFile f(QDir(m_folder).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush())
        throw vq::Exception(QStringLiteral("无法写入 %1：%2")
                                .arg(QDir::toNativeSeparators(f.fileName()), f.errorString()));
    return name;
}

int placePictures(QList<Row>& rows, const QList<QList<vq::bank::PlacedMedia>>& placed,
                  const MediaFolder& folder) {
    int taken = 0;
    for (qsizetype i = 0; i < rows.size() && i < placed.size(); ++i) {
        for (const vq::bank::PlacedMedia& m : placed[i]) {
            QVariant& cell = rows[i].optional[size_t(m.column)];
            if (cell.isValid())
                continue;
            // The same names in every language, as the bank tool gives them.
            const QString base = m.column == vq::bank::OptionalColumn::AnswerPicture
                                     ? QStringLiteral("第%1题答案")
                                     : QStringLiteral("第%1题");
            const QString number =
                rows[i].number ? QString::number(*rows[i].number) : QString::number(i + 1);
            const QString suffix = m.suffix.isEmpty() ? QString() : u'.' + m.suffix;
            cell = folder.take(base.arg(number) + suffix, m.bytes);
            ++taken;
        }
    }
    return taken;
}

int copyNamedMedia(const QList<Row>& rows, const QString& from, const QString& into) {
    const vq::bank::MediaInspector source(from);
    const vq::bank::MediaInspector target(into);
    QSet<QString> done;
    int copied = 0;
    for (const Row& r : rows)
        for (const vq::bank::OptionalColumn c :
             {vq::bank::OptionalColumn::Picture, vq::bank::OptionalColumn::AnswerPicture,
              vq::bank::OptionalColumn::Sound}) {
            const QString name = optionalText(r, c);
            if (name.isEmpty() || done.contains(name))
                continue;
            done.insert(name);
            const QString to = target.pathOf(name);
            if (QFileInfo(source.pathOf(name)).isFile() && !QFileInfo::exists(to) &&
                QDir().mkpath(QFileInfo(to).path()) && QFile::copy(source.pathOf(name), to))
                ++copied;
        }
    return copied;
}

} // namespace vq::editor
