#include "app/livepicture.h"

#include "platform/guard.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

namespace vq {
namespace {

// Asks for the drawing, queued as the windows' own repaints are: at low priority, behind those
// already waiting.
const QEvent::Type kDraw = static_cast<QEvent::Type>(QEvent::registerEventType());

} // namespace

// Longer than the window's own wait before it repaints (a few ms), well within two frames.
constexpr int kFallbackMs = 20;

LivePicture::LivePicture(QWidget& source, QWidget* parent) : QWidget(parent), m_source(source) {
    m_fallback.setSingleShot(true);
    m_fallback.setInterval(kFallbackMs);
    connect(&m_fallback, &QTimer::timeout, this, &LivePicture::drawSoon);
    // A window's repaint starts with an update request to the window itself, whichever of its
    // controls changed.
    m_source.installEventFilter(this);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LivePicture::refresh() {
    if (isVisible() && !m_pending && !m_fallback.isActive())
        m_fallback.start();
}

// Queued behind the event being handled, so that a repaint of the window is through, flushed to
// the screen, before the copy is drawn: the hall's screen never waits for the console.
void LivePicture::drawSoon() {
    m_fallback.stop();
    if (!isVisible() || m_pending)
        return;
    m_pending = true;
    QCoreApplication::postEvent(this, new QEvent(kDraw), Qt::LowEventPriority);
}

bool LivePicture::event(QEvent* event) {
    if (event->type() != kDraw)
        return QWidget::event(event);
    m_pending = false;
    guarded([&] {
        if (isVisible())
            draw();
    });
    return true;
}

bool LivePicture::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_source && !m_drawing &&
        (event->type() == QEvent::UpdateRequest || event->type() == QEvent::Paint))
        drawSoon();
    return QWidget::eventFilter(watched, event);
}

void LivePicture::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    drawSoon();
}

void LivePicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    drawSoon();
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
