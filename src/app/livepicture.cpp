#include "app/livepicture.h"

#include "platform/guard.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

namespace vq {

LivePicture::LivePicture(QWidget& source, QWidget* parent) : QWidget(parent), m_source(source) {
    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, [this] { guarded([&] { draw(); }); });
    // A window's repaint starts with an update request to the window itself, whichever of its
    // controls changed.
    m_source.installEventFilter(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LivePicture::refresh() {
    if (isVisible() && !m_pending.isActive())
        m_pending.start();
}

bool LivePicture::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_source && !m_drawing &&
        (event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint))
        refresh();
    return QWidget::eventFilter(watched, event);
}

void LivePicture::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

void LivePicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    refresh();
}

// The window's widgets paint themselves through a scaled painter into a picture of this
// widget's size: no full-size copy is made and nothing of the window is repainted on screen.
void LivePicture::draw() {
    const QSize source = m_source.size();
    const QSize target = source.scaled(size(), Qt::KeepAspectRatio);
    if (source.isEmpty() || target.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    QPixmap picture(target * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        painter.scale(qreal(target.width()) / source.width(),
                      qreal(target.height()) / source.height());
        m_drawing = true;
        m_source.render(&painter, QPoint(), QRegion(),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
        m_drawing = false;
    }
    m_picture = picture;
    ++m_drawings;
    update();
}

void LivePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (m_picture.isNull())
        return;
    const QSize shown = m_picture.deviceIndependentSize().toSize();
    painter.drawPixmap((width() - shown.width()) / 2, (height() - shown.height()) / 2, m_picture);
}

} // namespace vq
