#pragma once

#include <QImage>
#include <QWidget>

class QTimer;

// The picture of the welcome screen: stretched over its whole rectangle, aspect ratio not
// kept; with no picture it draws nothing, so the window's button face shows through.
class TForm5Image : public QWidget {
    Q_OBJECT
public:
    explicit TForm5Image(QWidget* parent = nullptr);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    QImage m_scaled;
    bool m_pressed = false;
};

// The welcome screen: a borderless, maximised, topmost window covering the screen with
// welcome.jpg until a click fades it out in 51 steps of 25 ms. Set-up shows it with show(),
// which returns at once.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    TForm5Image* Image1 = nullptr;
    QTimer* Timer1 = nullptr;

    // The window's constant opacity, 0 (invisible) to 255 (opaque).
    int opacity() const { return m_opacity; }

    void FormShow();
    void Image1Click();
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyOpacity();

    quint8 m_opacity = 255;
};
