#include "app/pictureprefetch.h"

#include "app/picturereader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace vq {
namespace {
PicturePrefetch* g_current = nullptr;
} // namespace

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
            QImage image = readPicture(reader, shown, error);
            return error.isEmpty() ? image : QImage();
        });
    g_current = this;
}

PicturePrefetch::~PicturePrefetch() {
    if (g_current == this)
        g_current = nullptr;
}

std::optional<QImage> PicturePrefetch::take(const QString& path, QSize shown) {
    PicturePrefetch* p = g_current;
    if (!p || !p->m_result.valid() || p->m_path != path || p->m_shown != shown)
        return std::nullopt;
    QImage image = p->m_result.get();
    if (image.isNull() || stampOf(path) != p->m_stamp)
        return std::nullopt;
    return image;
}

} // namespace vq
