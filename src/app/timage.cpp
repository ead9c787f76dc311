#include "app/timage.h"

#include "platform/exception.h"
#include "platform/files.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

TImage::TImage(QWidget* parent, Fit fit) : TGraphicControl(parent), m_fit(fit) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void TImage::setPicture(const QImage& picture) {
    m_picture = picture;
    m_scaled = QPixmap();
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    QSize target = size();
    if (m_fit == Fit::Proportional)
        target = m_picture.size().scaled(size(), Qt::KeepAspectRatio);
    if (target.isEmpty())
        return;
    if (m_scaled.size() != target) {
        const QImage scaled =
            m_picture.size() == target
                ? m_picture
                : m_picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled = QPixmap::fromImage(scaled);
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_scaled);
}

namespace vq {

QImage loadPicture(const QString& path) {
    QFile file(path);
    QString reason;
    if (!openRegularFile(file, &reason))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
    const QString ext = QFileInfo(path).suffix().toLower();
    QByteArray format;
    if (ext == u"jpg" || ext == u"jpeg")
        format = "jpeg";
    else if (ext == u"png")
        format = "png";
    else if (ext == u"bmp")
        format = "bmp";
    else
        throw Exception(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
    QImageReader reader(&file, format);
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        throw Exception(
            QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), reader.errorString()));
    return image;
}

} // namespace vq
