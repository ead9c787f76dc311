#include "app/tform5.h"

#include "app/pictureprefetch.h"
#include "app/timage.h"
#include "controls/rzcommon.h"
#include "platform/display.h"
#include "platform/folders.h"
#include "platform/guard.h"
#include "platform/memory.h"
#include "platform/messages.h"
#include "platform/nativewindow.h"
#include "platform/showscreen.h"

#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>

TForm5::TForm5(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("欢迎 可设置不显示或提前显示"));
    resize(862, 473);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    setPalette(pal);
    setAutoFillBackground(true);

    Image1 = new TImage(this, TImage::Fit::Stretch);
    Image1->setGeometry(rect());
    connect(Image1, &TGraphicControl::clicked, this,
            [this] { vq::guarded([&] { Image1Click(); }); });

    Timer1 = new QTimer(this);
    Timer1->setInterval(25);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, [this] { vq::guarded([&] { Timer1Timer(); }); });
}

void TForm5::FormShow() {
    Image1->setPicture(QImage());
    // Decoded at the size of the window it covers. A damaged picture shows what could be
    // decoded of it, and the operator hears what is wrong before the window shows.
    QString damage;
    Image1->setPicture(vq::takeOrLoad(
        WelcomePrefetch, vq::programFolder() + QStringLiteral("welcome.jpg"), size(), &damage));
    if (!damage.isEmpty())
        vq::showErrorBox(damage);
}

void TForm5::Image1Click() {
    // A click while fading changes nothing: the timer keeps its rhythm.
    if (!Timer1->isActive())
        Timer1->start();
}

void TForm5::Timer1Timer() {
    m_opacity = static_cast<quint8>(m_opacity - 5);
    applyOpacity();
    if (m_opacity == 0) {
        Timer1->stop();
        hide();
        vq::flushDisplay();
        // The welcome screen is not shown again during the run: its picture's memory goes back,
        // and so does the window with the screenful of pixels it was drawn into (hiding keeps
        // both; a later showing would make them anew).
        Image1->setPicture(QImage());
        destroy();
        vq::returnFreedMemory();
    }
}

void TForm5::applyOpacity() {
    // Where the desktop has no per-window opacity this does nothing visible; the 51 steps and
    // the hiding at 0 happen all the same.
    setWindowOpacity(m_opacity / 255.0);
    // Each step goes to the display server in its own tick; left queued, all 51 would reach
    // the screen together at the end and the audience would see no fade.
    vq::flushDisplay();
}

void TForm5::setVisible(bool visible) {
    // Maximised as it is shown rather than when it is made: setting a window's state makes the
    // window on the display server at once, a few round trips during start-up for a screen that
    // most starts never show.
    if (visible && m_maximizedWhenShown && !(windowState() & Qt::WindowMaximized))
        setWindowState(windowState() | Qt::WindowMaximized);
    QWidget::setVisible(visible);
    // Set-up shows this window before the main screen is mapped. A window manager puts a
    // newly mapped full-screen window above even a topmost one while it counts nothing as
    // focused (this window's focus not yet seen), and lowers it only once it has seen that
    // focus: long enough for the main screen's first frame to reach the hall. Kept above the
    // program's other windows by the manager itself, the welcome picture is the first thing
    // on the screen.
    if (visible)
        if (QWindow* w = windowHandle())
            vq::keepAboveTheProgramsWindows(*w);
}

void TForm5::showEvent(QShowEvent* event) {
    vq::guarded([&] {
        if (event->spontaneous())
            return;
        // Maximised and borderless: the whole screen, also where no window manager maximises.
        // On the show's screen, which may be a projector's rather than the primary one.
        // (The bank editor's preview un-maximises it to cover the preview's window instead.)
        if (QScreen* s = vq::showScreen(); s && (windowState() & Qt::WindowMaximized)) {
            setScreen(s);
            setGeometry(s->geometry());
        }
        applyOpacity();
        FormShow();
        // Set-up shows this window from inside the main screen's first showing, so the main
        // screen is mapped after it and takes the focus: take it back once that has happened,
        // so that no key reaches the show beneath (and lift the window where a window manager
        // does not keep it above by itself, see setVisible).
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) {
                raise();
                activateWindow();
            }
        });
    });
}

void TForm5::resizeEvent(QResizeEvent*) {
    vq::guarded([&] { Image1->setGeometry(rect()); });
}
