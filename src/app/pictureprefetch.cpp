#include "app/pictureprefetch.h"

#include "app/picturereader.h"
#include "app/timage.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace vq {

PicturePrefetch::Stamp PicturePrefetch::stampOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {info.size(), info.lastModified()};
}

PicturePrefetch::PicturePrefetch(const QString& path, QSize shown)
    : m_path(path), m_shown(shown), m_stamp(stampOf(path)) {
    // Set once here: the decoder thread then only reads the limit.
    QImageReader::setAllocationLimit(kPictureAllocationLimitMb);
    if (m_stamp.size >= 0)
        m_result = Task<QImage>([path, shown] {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return QImage();
            QImageReader reader(&file, "jpeg");
            reader.setDecideFormatFromContent(false);
            QString error;
            // Scaled smoothly by the picture control once the first frame is out.
            QImage image = readPicture(reader, shown, error, FinalScaling::Later);
            return error.isEmpty() ? image : QImage();
        });
}

PicturePrefetch::~PicturePrefetch() = default;

std::optional<QImage> PicturePrefetch::take(const QString& path, QSize shown) {
    if (!m_result.valid() || m_path != path || m_shown != shown)
        return std::nullopt;
    QImage image = m_result.get();
    if (image.isNull() || stampOf(path) != m_stamp)
        return std::nullopt;
    return image;
}

QImage takeOrLoad(PicturePrefetch* ahead, const QString& path, QSize shown, QString* damage) {
    if (std::optional<QImage> taken = ahead ? ahead->take(path, shown) : std::nullopt)
        return *std::move(taken);
    return loadPicture(path, shown, damage, FinalScaling::Later);
}

} // namespace vq
