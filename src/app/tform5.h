#pragma once

#include <QWidget>

class QTimer;
class TImage;

// The welcome screen: a borderless, maximised, topmost window covering the screen with
// welcome.jpg until a click fades it out in 51 steps of 25 ms. Set-up shows it with show(),
// which returns at once.
namespace vq {
class PicturePrefetch;
}

class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    // The welcome picture, stretched over the whole window; with no picture the window's
    // button face shows through.
    TImage* Image1 = nullptr;
    QTimer* Timer1 = nullptr;
    // The welcome picture decoded ahead, where the start found it would be shown; its showing
    // takes it when it fits (see vq::PicturePrefetch).
    vq::PicturePrefetch* WelcomePrefetch = nullptr;

    // The window's constant opacity, 0 (invisible) to 255 (opaque).
    int opacity() const { return m_opacity; }

    void FormShow();
    void Image1Click();
    void Timer1Timer();

    // Whether the window is maximised when it is shown, as designed; the bank editor's preview
    // keeps it to the geometry it gives instead.
    void setMaximizedWhenShown(bool maximized) { m_maximizedWhenShown = maximized; }
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyOpacity();

    quint8 m_opacity = 255;
    bool m_maximizedWhenShown = true;
};
