#include "app/timage.h"

#include "app/picturereader.h"
#include "platform/exception.h"
#include "platform/files.h"
#include "platform/guard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <utility>

TImage::TImage(QWidget* parent, Fit fit) : TGraphicControl(parent), m_fit(fit) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void TImage::setPicture(const QImage& picture) {
    m_decode = nullptr;
    m_picture = picture;
    m_scaled = QImage();
    coverage();
    // Scaled now rather than in the first paint, so that a picture set while the window is
    // being shown is ready when it appears.
    if (isVisible())
        prepare();
    update();
}

void TImage::setPicture(std::function<QImage()> decode) {
    setPicture(QImage());
    m_decode = std::move(decode);
}

const QImage& TImage::picture() const {
    // Decoding changes what is drawn, not what the control is: the picture was there all along.
    const_cast<TImage*>(this)->decodeNow();
    return m_picture;
}

void TImage::decodeNow() {
    if (!m_decode)
        return;
    m_picture = std::exchange(m_decode, nullptr)();
    m_scaled = QImage();
    coverage();
}

// A stretched picture without transparency covers the whole control: what lies beneath it (the
// window's button face) is then not painted first, on any repaint.
void TImage::coverage() {
    setAttribute(Qt::WA_OpaquePaintEvent,
                 m_fit == Fit::Stretch && !m_picture.isNull() && !m_picture.hasAlphaChannel());
}

QSize TImage::drawnSize() const {
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return {};
    return m_fit == Fit::Proportional ? m_picture.size().scaled(size(), Qt::KeepAspectRatio)
                                      : size();
}

// A picture of the drawn size is drawn as it is; any other is scaled once per size and only
// the scaled copy is kept beside it.
const QImage* TImage::prepare() {
    decodeNow();
    const QSize target = drawnSize();
    if (target.isEmpty())
        return nullptr;
    if (m_picture.size() == target) {
        m_scaled = QImage();
        m_rough = false;
        return &m_picture;
    }
    if (m_scaled.size() == target) {
        m_rough = false;
        return &m_scaled;
    }
    m_scaled = QImage();
    // A picture smaller than its place, or any other on a large one (a photograph as the
    // background), is first drawn straight from itself, stretched in the quick way as it is
    // painted: no copy of the screen's size to make (and its memory to fault in) before the
    // first frame, which does not wait for the smooth copy either; that one replaces it once
    // the frame is out. A small control's copy costs little and is made at once.
    constexpr qint64 kQuickFirstPixels = 512 * 512;
    m_rough = target.width() > m_picture.width() || target.height() > m_picture.height() ||
              qint64(target.width()) * target.height() >= kQuickFirstPixels;
    if (m_rough)
        return &m_picture;
    m_scaled = scaledPicture(target, Qt::SmoothTransformation);
    return &m_scaled;
}

QImage TImage::scaledPicture(QSize target, Qt::TransformationMode mode) const {
    // Scaled from 32-bit pixels whatever the picture is held in, as it was decoded.
    return vq::compactPicture(
        vq::widePicture(m_picture).scaled(target, Qt::IgnoreAspectRatio, mode));
}

void TImage::refine() {
    vq::guarded([this] {
        m_refinePending = false;
        const QSize target = drawnSize();
        if (!m_rough || m_decode || target.isEmpty())
            return; // a new picture since: its own copy is made when it is drawn
        m_scaled = scaledPicture(target, Qt::SmoothTransformation);
        m_rough = false;
        // A larger picture's own pixels are not shown again: only the copy is kept, as if
        // the picture had been read at this size.
        if (m_picture.width() >= target.width() && m_picture.height() >= target.height())
            m_picture = std::exchange(m_scaled, QImage());
        update();
    });
}

void TImage::paintEvent(QPaintEvent* event) {
    const QImage* image = prepare();
    if (!image)
        return;
    QPainter p(this);
    if (m_rough) {
        // The quick first drawing, straight from the picture (see prepare), inside the region
        // only.
        p.drawImage(QRect(QPoint(0, 0), drawnSize()), *image);
    } else {
        // Only the part that needs repainting is copied, each of its rectangles a few lines at
        // a time. Qt hands a copy of many lines, or one through a clip of several rectangles,
        // to helper threads and waits for them: on a busy machine that wait, not the copy,
        // decided how soon a step reached the screen.
        constexpr int kLines = 32;
        for (const QRect& part : event->region()) {
            const QRect r = part & image->rect();
            for (int y = r.top(); y <= r.bottom(); y += kLines) {
                const QRect band(r.left(), y, r.width(), std::min(kLines, r.bottom() + 1 - y));
                p.drawImage(band.topLeft(), *image, band);
            }
        }
    }
    // Only after the quick drawing has been painted: a timer set before the window's first paint
    // would run first and make the frame wait for the smooth copy after all.
    if (m_rough && !m_refinePending) {
        m_refinePending = true;
        QTimer::singleShot(0, this, &TImage::refine);
    }
}

namespace vq {

QImage loadPicture(const QString& path, QSize shown, QString* damage, FinalScaling scaling) {
    if (damage)
        damage->clear();
    QFile file(path);
    QString reason;
    if (!openRegularFile(file, &reason))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2")
                            .arg(QDir::toNativeSeparators(path), reason));
    const QString ext = QFileInfo(path).suffix().toLower();
    QByteArray format;
    if (ext == u"jpg" || ext == u"jpeg")
        format = "jpeg";
    else if (ext == u"png")
        format = "png";
    else if (ext == u"bmp")
        format = "bmp";
    else
        throw Exception(QStringLiteral("无法识别的图片扩展名：.%1").arg(ext));
    QImageReader reader(&file, format);
    reader.setDecideFormatFromContent(false);
    QString error;
    QImage image = readPicture(reader, shown, error, scaling);
    const auto reported = [&] {
        return QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), error);
    };
    if (image.isNull())
        throw Exception(reported());
    if (damage && !error.isEmpty())
        *damage = reported();
    return image;
}

} // namespace vq
