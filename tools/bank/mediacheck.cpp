#include "mediacheck.h"
#include "clipprobe.h"
#include "data/bankschema.h"

#include "app/picturereader.h"
#include "app/timage.h"
#include "platform/exception.h"
#include "platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <utility>

namespace vq::bank {

int largestPictureMegabytes() {
    return kPictureAllocationLimitMb;
}

namespace {

MediaFinding fault(MediaFault kind, QString detail = {}) {
    MediaFinding f;
    f.fault = kind;
    f.detail = std::move(detail);
    return f;
}

// The format the show decodes a picture with, chosen by its extension as the show chooses it;
// empty for one it does not know.
QByteArray pictureFormat(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"jpg" || ext == u"jpeg")
        return "jpeg";
    if (ext == u"png" || ext == u"bmp" || ext == u"gif")
        return ext.toLatin1();
    return {};
}

QString megabytes(std::int64_t bytes) {
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 0);
}

QString duration(double seconds) {
    const auto s = std::int64_t(seconds + 0.5);
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

// What a picture file holds by its content, where that is not the kind its extension names:
// "内容是 PNG 图片，扩展名却是 .jpg"; empty otherwise.
QString otherContent(const QString& path) {
    QFile file(path);
    if (!openRegularFile(file, nullptr))
        return {};
    const QByteArray content = QImageReader::imageFormat(&file);
    const QByteArray named = pictureFormat(path);
    if (content.isEmpty() || content == named)
        return {};
    return QCoreApplication::translate("velquo-bank", "内容是 %1 图片，扩展名却是 .%2")
        .arg(QString::fromLatin1(content.toUpper()), QFileInfo(path).suffix());
}

// Keeps the image readers' own warnings off the tool's streams while it lives: the check says
// what is wrong with a file in its own report.
class QuietReaders {
public:
    QuietReaders()
        : m_previous(
              qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {})) {
    }
    ~QuietReaders() { qInstallMessageHandler(m_previous); }
    QuietReaders(const QuietReaders&) = delete;
    QuietReaders& operator=(const QuietReaders&) = delete;

private:
    QtMessageHandler m_previous;
};

} // namespace

MediaInspector::MediaInspector(QString folder) : m_folder(std::move(folder)) {}

QString MediaInspector::pathOf(const QString& name) const {
    QString relative = name;
    relative.replace(u'\\', u'/');
    return m_folder + u'/' + relative;
}

std::optional<MediaFinding> MediaInspector::inspect(OptionalColumn column,
                                                    const QString& name) const {
    const QString path = pathOf(name);
    const QFileInfo info(path);
    if (!info.exists())
        return fault(MediaFault::Missing);
    if (info.isDir())
        return fault(MediaFault::Folder);
    if (!isRegularFile(path))
        return fault(MediaFault::NotAFile);
    {
        QFile file(path);
        QString reason;
        if (!openRegularFile(file, &reason))
            return fault(MediaFault::Unreadable, reason);
    }
    return isPictureColumn(column) ? inspectPicture(path) : inspectClip(path);
}

std::optional<MediaFinding> MediaInspector::inspectPicture(const QString& path) const {
    const QuietReaders quiet;
    // The header's size first: a picture the show would refuse is not decoded here either.
    if (const QByteArray format = pictureFormat(path); !format.isEmpty()) {
        QFile file(path);
        if (openRegularFile(file, nullptr)) {
            QImageReader header(&file, format);
            header.setDecideFormatFromContent(false);
            const QSize size = header.size();
            const std::int64_t bytes = std::int64_t(size.width()) * size.height() * 4;
            if (size.isValid() && bytes > std::int64_t(kPictureAllocationLimitMb) * 1024 * 1024)
                return fault(MediaFault::Oversized,
                             QCoreApplication::translate(
                                 "velquo-bank",
                                 "%1 × %2 像素，解码要 %3 MB；放映程序最多解码 %4 MB 的图片"
                                 "（32 位像素，约 %5 百万像素），更大的图片不会显示")
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(megabytes(bytes))
                                 .arg(kPictureAllocationLimitMb)
                                 .arg(kPictureAllocationLimitMb / 4 * 1024 * 1024 / 1000000));
        }
    }
    // Decoded as the show decodes it, at a thumbnail's size: what the screen would get.
    QString damage;
    try {
        loadPicture(path, QSize(256, 256), &damage);
    } catch (const vq::Exception& e) {
        const QString content = otherContent(path);
        return fault(MediaFault::NotDecodable,
                     content.isEmpty()
                         ? e.message()
                         : content + QStringLiteral("（") + e.message() + QStringLiteral("）"));
    }
    if (!damage.isEmpty())
        return fault(MediaFault::Damaged, damage);
    return std::nullopt;
}

std::optional<MediaFinding> MediaInspector::inspectClip(const QString& path) {
    const ClipInfo clip = ClipProbe::probe(path, kLargestClipBytes);
    if (clip.kind == ClipInfo::Kind::Unknown)
        return fault(
            MediaFault::NotDecodable,
            QCoreApplication::translate("velquo-bank", "内容不是 WAV、MP3、OGG、FLAC 或 M4A 声音"));
    if (!clip.error.isEmpty())
        return fault(MediaFault::NotDecodable, clip.error);
    if (clip.pcmBytes > kLargestClipBytes)
        return fault(MediaFault::Oversized,
                     QCoreApplication::translate(
                         "velquo-bank",
                         "长 %1，解码成 16 位采样有 %2 MB，超过 %3 MB（CD 音质约 10 分钟）："
                         "放映程序要先把整段声音解码成一份副本才开始播放")
                         .arg(duration(clip.seconds), megabytes(clip.pcmBytes),
                              megabytes(kLargestClipBytes)));
    if (clip.decoded && clip.seconds - clip.decodedSeconds > 0.5)
        return fault(MediaFault::Damaged,
                     QCoreApplication::translate("velquo-bank",
                                                 "文件说声音长 %1，却只解码出 %2（文件不完整？）")
                         .arg(duration(clip.seconds), duration(clip.decodedSeconds)));
    return std::nullopt;
}

QString describeFinding(const MediaFinding& f) {
    QString what;
    switch (f.fault) {
    case MediaFault::Missing:
        what = QCoreApplication::translate("velquo-bank", "%1文件夹中没有这个文件")
                   .arg(bankschema::kMediaFolder);
        break;
    case MediaFault::Folder:
        what = QCoreApplication::translate("velquo-bank", "这是一个文件夹，不是文件");
        break;
    case MediaFault::NotAFile:
        what = QCoreApplication::translate(
            "velquo-bank", "这不是普通文件（是管道、设备之类），放映程序不会打开它");
        break;
    case MediaFault::Unreadable:
        what = QCoreApplication::translate("velquo-bank", "无法打开：%1").arg(f.detail);
        break;
    case MediaFault::NotDecodable:
        what = (isPictureColumn(f.column)
                    ? QCoreApplication::translate("velquo-bank", "不是放映程序能显示的图片：%1")
                    : QCoreApplication::translate("velquo-bank", "不是放映程序能播放的声音：%1"))
                   .arg(f.detail);
        break;
    case MediaFault::Damaged:
        what = (isPictureColumn(f.column)
                    ? QCoreApplication::translate("velquo-bank",
                                                  "图片已损坏，只能显示读得出来的部分：%1")
                    : QCoreApplication::translate("velquo-bank", "声音只能播放一部分：%1"))
                   .arg(f.detail);
        break;
    case MediaFault::Oversized:
        what = QCoreApplication::translate("velquo-bank", "太大：%1").arg(f.detail);
        break;
    }
    return QCoreApplication::translate("velquo-bank", "%1 %2 的%3“%4”：%5")
        .arg(bankschema::kNumber, f.number, optionalColumnName(f.column), f.name, what);
}

} // namespace vq::bank
