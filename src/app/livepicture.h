#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace vq {

// A small live copy of another window, as the hall sees it: drawn anew, scaled down, once the
// window has repainted (and whenever asked), once however many repaints and requests come
// together. The drawing waits behind the window's own pending repaint, so the hall's screen is
// never later for it. Drawn only while this picture is shown, so a hidden console costs the
// show nothing.
class LivePicture : public QWidget {
    Q_OBJECT
public:
    explicit LivePicture(QWidget& source, QWidget* parent = nullptr);

    // A new copy after the window's next repaint; should none come, a moment later all the same.
    void refresh();
    // The copy as last drawn: the source's whole area at this widget's size, its proportions kept.
    const QPixmap& picture() const { return m_picture; }
    // How many copies were drawn, for those who check that repaints are coalesced.
    int drawings() const { return m_drawings; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void drawSoon();
    void draw();

    QWidget& m_source;
    // A drawing queued and not yet done: later requests join it.
    bool m_pending = false;
    // For a change that repaints nothing of the window.
    QTimer m_fallback;
    QPixmap m_picture;
    // The source's paint events sent by the drawing itself are not repaints to follow.
    bool m_drawing = false;
    int m_drawings = 0;
};

} // namespace vq
