// The presenter at party size: a 3840 x 2160 bg.jpg and welcome.jpg, a 10,000-question bank.
//
// Measured on child processes that run the real start-up (vq::runPresenter) from a temporary
// installation that is their program and current folder:
//   start-up   process start (a timestamp taken before the spawn) to the first painted frame
//              of the main screen, with and without the welcome screen
//   step       a click on the next-step picture to the repainted screen (whole window)
//   soak       resident memory over 10,000 steps, sampled every 1000
//   fade       the welcome screen's 51 fade ticks on the real event loop, click to hidden
//   console    with the host's console open on a second screen: a Space typed on the main
//              screen to the hall's screen repainted, and to the console's live picture of it
//              drawn and repainted as well; the hall's alone with the console hidden
//   scores     four teams on the scoreboard over the 4K background: a digit key typed on the
//              main screen to the scoreboard repainted, and how much of the screen was painted
// on the offscreen platform at 1920 x 1080 and, when Xvfb is there, on xcb under Xvfb.
//
// Linux only (/proc, CLOCK_MONOTONIC shared by parent and child). The probe is switched on by
// VELQUO_BENCH_PROBE, which only this program reads; the shipped presenter knows nothing of it.
#include "app/hostconsole.h"
#include "app/livepicture.h"
#include "app/presenter.h"
#include "app/scoreboard.h"
#include "app/tform1.h"
#include "app/tform5.h"
#include "app/timage.h"
#include "app/trzlabel.h"
#include "controls/memo.h"
#include "data/adoquery.h"
#include "data/jetwriter.h"
#include "data/questionpool.h"
#include "data/tdatamodule2.h"
#include "platform/ansi.h"
#include "settings/settings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <map>
#include <vector>

namespace {

// ---- shared ----------------------------------------------------------------------------------

qint64 monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// VmRSS / VmHWM of this process in kB.
long statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray k = QByteArray(key) + ':';
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(k))
            return line.mid(k.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Heap bytes in use (glibc), in kB: tells a leak from the allocator keeping freed pages.
long heapKb() {
    return long(mallinfo2().uordblks / 1024);
}

double ms(qint64 ns) {
    return double(ns) / 1e6;
}

struct Stats {
    double median = 0, p99 = 0, max = 0, min = 0;
};
Stats stats(std::vector<double> v) {
    Stats s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v[v.size() / 2];
    s.p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    s.max = v.back();
    s.min = v.front();
    return s;
}

// ---- child: the real start-up with a probe ---------------------------------------------------

void report(const QString& line) {
    std::printf("VQBENCH %s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void click(QWidget* w) {
    const QPointF local(w->width() / 2.0, w->height() / 2.0);
    const QPointF global = w->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// Watches the windows: the main screen's showing (set-up) and first paint, the welcome
// screen's first paint and hiding.
class Probe : public QObject {
public:
    Probe(QByteArray mode, qint64 mainNs) : m_mode(std::move(mode)), m_mainNs(mainNs) {}

    void attach(const vq::PresenterWindows& w) {
        m_w = w;
        m_windowsNs = monotonicNs();
        w.form1->installEventFilter(this);
        w.form5->installEventFilter(this);
        if (w.console)
            w.console->livePicture()->installEventFilter(this);
        connect(w.form5->Timer1, &QTimer::timeout, this,
                [this] { m_ticks.push_back(monotonicNs()); });
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == m_w.form1 && e->type() == QEvent::Show && !m_showNs)
            m_showNs = monotonicNs();
        // A window's repaint starts with its update request, whichever controls it paints (the
        // opaque background leaves the window itself no paint event of its own).
        if (o == m_w.form1 && e->type() == QEvent::UpdateRequest) {
            m_hallPainted = true;
            if (m_mode == "scores" && !m_consoleStarted) {
                m_consoleStarted = true;
                QTimer::singleShot(0, this, [this] { scoreKeys(); });
            }
            if (m_mode == "console" && !m_consoleStarted) {
                m_consoleStarted = true;
                QTimer::singleShot(0, this, [this] { consoleSteps(); });
            }
        }
        // What a repaint covers: the background is painted under every repainted region.
        if (o == m_w.form1->Image1 && e->type() == QEvent::Paint)
            ++m_backgroundPaints;
        if (o == m_w.form1->Image1 && e->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent*>(e)->region().boundingRect();
            m_paintedArea = std::max(m_paintedArea, qint64(r.width()) * r.height());
        }
        if (m_w.console && o == m_w.console->livePicture() && e->type() == QEvent::Paint &&
            m_w.console->livePicture()->drawings() > m_drawingsBefore)
            m_picturePainted = true;
        // The first repaint of the main screen: its update request, since the opaque background
        // covering the window leaves the window itself no paint event to wait for.
        if (o == m_w.form1 && e->type() == QEvent::UpdateRequest && !m_paintNs) {
            m_paintNs = monotonicNs();
            // Runs once the paint of the whole window and its flush are done.
            QTimer::singleShot(0, this, [this] { frameDone(); });
        }
        if (o == m_w.form5 && e->type() == QEvent::Paint && m_fadeStartNs && !m_fadeEndNs)
            ++m_fadePaints;
        if (o == m_w.form5 && e->type() == QEvent::Paint && !m_welcomePaintNs) {
            m_welcomePaintNs = monotonicNs();
            QTimer::singleShot(0, this, [this] { welcomeFrameDone(); });
        }
        if (o == m_w.form5 && e->type() == QEvent::Hide && m_fadeStartNs && !m_fadeEndNs) {
            m_fadeEndNs = monotonicNs();
            QTimer::singleShot(0, this, [this] { fadeDone(); });
        }
        return false;
    }

private:
    void frameDone() {
        const qint64 now = monotonicNs();
        report(QStringLiteral("startup main=%1 windows=%2 show=%3 paint=%4 frame=%5 rss=%6 hwm=%7 "
                              "size=%8x%9 pool=%10")
                   .arg(m_mainNs)
                   .arg(m_windowsNs)
                   .arg(m_showNs)
                   .arg(m_paintNs)
                   .arg(now)
                   .arg(statusKb("VmRSS"))
                   .arg(statusKb("VmHWM"))
                   .arg(m_w.form1->width())
                   .arg(m_w.form1->height())
                   .arg(m_w.form1->Memo1->count()));
        if (m_mode == "startup")
            QCoreApplication::exit(0);
        else if (m_mode == "soak")
            QTimer::singleShot(0, this, [this] { soak(); });
        else if (m_mode == "parts")
            QTimer::singleShot(0, this, [this] { parts(); });
    }

    void welcomeFrameDone() {
        report(QStringLiteral("welcome frame=%1").arg(monotonicNs()));
        if (m_mode == "fade")
            QTimer::singleShot(0, this, [this] {
                m_fadeStartNs = monotonicNs();
                click(m_w.form5->Image1);
            });
    }

    void fadeDone() {
        std::vector<double> gaps;
        for (size_t i = 1; i < m_ticks.size(); ++i)
            gaps.push_back(ms(m_ticks[i] - m_ticks[i - 1]));
        const Stats g = stats(gaps);
        report(QStringLiteral("fade ticks=%1 ms=%2 opacity=%3 gapmax=%4 gapmin=%5 paints=%6")
                   .arg(m_ticks.size())
                   .arg(ms(m_fadeEndNs - m_fadeStartNs), 0, 'f', 1)
                   .arg(m_w.form5->opacity())
                   .arg(g.max, 0, 'f', 2)
                   .arg(g.min, 0, 'f', 2)
                   .arg(m_fadePaints));
        QCoreApplication::exit(0);
    }

    // 10,000 steps by clicks on the next-step picture, each followed by a repaint of the
    // whole window; memory sampled every 1000 steps.
    void soak() {
        TForm1* f = m_w.form1;
        const int steps = qEnvironmentVariableIntValue("VELQUO_BENCH_STEPS");
        std::vector<double> stepMs, handlerMs;
        QStringList rss{QString::number(statusKb("VmRSS"))};
        const long anonBefore = statusKb("RssAnon"), fileBefore = statusKb("RssFile");
        QStringList heap{QString::number(heapKb())};
        // Each repaint must reach the background (and the labels over it): counted.
        f->Image1->installEventFilter(this);
        // The first repaint at this size after start-up, then repaints alone.
        std::vector<double> repaintMs;
        for (int i = 0; i < 20; ++i) {
            const qint64 t0 = monotonicNs();
            f->repaint();
            repaintMs.push_back(ms(monotonicNs() - t0));
        }
        const int paintsBefore = m_backgroundPaints;
        for (int i = 1; i <= steps; ++i) {
            const qint64 t0 = monotonicNs();
            click(f->Image3);
            const qint64 t1 = monotonicNs();
            f->repaint();
            const qint64 t2 = monotonicNs();
            stepMs.push_back(ms(t2 - t0));
            handlerMs.push_back(ms(t1 - t0));
            QCoreApplication::processEvents();
            if (i % 1000 == 0) {
                rss << QString::number(statusKb("VmRSS"));
                heap << QString::number(heapKb());
            }
        }
        const Stats s = stats(stepMs), h = stats(handlerMs), r = stats(repaintMs);
        report(QStringLiteral("soak steps=%1 counter=%2 median=%3 p99=%4 max=%5 hmedian=%6 hp99=%7 "
                              "repaintmedian=%8 repaintmax=%9 pool=%10 rss=%11 hwm=%12 heap=%13 "
                              "paints=%14 anon=%15 file=%16")
                   .arg(steps)
                   .arg(f->Label3->text())
                   .arg(s.median, 0, 'f', 3)
                   .arg(s.p99, 0, 'f', 3)
                   .arg(s.max, 0, 'f', 3)
                   .arg(h.median, 0, 'f', 3)
                   .arg(h.p99, 0, 'f', 3)
                   .arg(r.median, 0, 'f', 3)
                   .arg(r.max, 0, 'f', 3)
                   .arg(f->Memo1->count())
                   .arg(rss.join(u','))
                   .arg(statusKb("VmHWM"))
                   .arg(heap.join(u','))
                   .arg(m_backgroundPaints - paintsBefore)
                   .arg(QStringLiteral("%1,%2").arg(anonBefore).arg(statusKb("RssAnon")))
                   .arg(QStringLiteral("%1,%2").arg(fileBefore).arg(statusKb("RssFile"))));
        // The welcome screen's repaints (shown when huanying is 1).
        if (m_w.form5->isVisible()) {
            std::vector<double> w;
            for (int i = 0; i < 10; ++i) {
                const qint64 t0 = monotonicNs();
                m_w.form5->repaint();
                w.push_back(ms(monotonicNs() - t0));
            }
            const Stats ws = stats(w);
            report(QStringLiteral("welcome-repaint median=%1 max=%2 min=%3")
                       .arg(ws.median, 0, 'f', 3)
                       .arg(ws.max, 0, 'f', 3)
                       .arg(ws.min, 0, 'f', 3));
        }
        QCoreApplication::exit(0);
    }

    // A Space on the main screen's window, as the desktop delivers it, then the event loop run
    // until the hall's screen has repainted and, when `picture`, the console's live picture has
    // been drawn anew and repainted; the times to both, in ms.
    std::pair<double, double> keyToRepaint(bool picture) {
        QWindow* window = m_w.form1->windowHandle();
        m_hallPainted = m_picturePainted = false;
        m_drawingsBefore = m_w.console->livePicture()->drawings();
        const qint64 t0 = monotonicNs();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(window, &press);
        QCoreApplication::sendEvent(window, &release);
        qint64 hall = 0;
        const qint64 deadline = t0 + 500'000'000;
        while (monotonicNs() < deadline) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            if (m_hallPainted && !hall)
                hall = monotonicNs();
            if (hall && (!picture || m_picturePainted))
                break;
        }
        return {hall ? ms(hall - t0) : -1, ms(monotonicNs() - t0)};
    }

    // Digit keys typed on the main screen, each scoring a team (1 to 4 in turn, a step up, then
    // with Shift a step down), each timed to the end of the repaint it causes; the board's own
    // area against the largest area a repaint covered.
    void scoreKeys() {
        QWindow* window = m_w.form1->windowHandle();
        m_w.form1->Image1->installEventFilter(this);
        const int steps = qEnvironmentVariableIntValue("VELQUO_BENCH_STEPS");
        std::vector<double> times;
        for (int i = 0; i < steps + 30; ++i) {
            const int key = Qt::Key_1 + i % 4;
            const Qt::KeyboardModifiers mods = (i / 4) % 2 ? Qt::ShiftModifier : Qt::NoModifier;
            m_hallPainted = false;
            if (i == 30)
                m_paintedArea = 0;
            const qint64 t0 = monotonicNs();
            QKeyEvent press(QEvent::KeyPress, key, mods);
            QKeyEvent release(QEvent::KeyRelease, key, mods);
            QCoreApplication::sendEvent(window, &press);
            QCoreApplication::sendEvent(window, &release);
            const qint64 deadline = t0 + 500'000'000;
            while (!m_hallPainted && monotonicNs() < deadline)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            if (i >= 30) // warm-up: glyph caches, the first repaints
                times.push_back(m_hallPainted ? ms(monotonicNs() - t0) : 500);
        }
        const Stats t = stats(times);
        const QSize board = m_w.form1->Board->size();
        report(QStringLiteral("scores keys=%1 median=%2 p99=%3 max=%4 board=%5x%6 painted=%7 "
                              "screen=%8x%9")
                   .arg(steps)
                   .arg(t.median, 0, 'f', 2)
                   .arg(t.p99, 0, 'f', 2)
                   .arg(t.max, 0, 'f', 2)
                   .arg(board.width())
                   .arg(board.height())
                   .arg(m_paintedArea)
                   .arg(m_w.form1->width())
                   .arg(m_w.form1->height()));
        QCoreApplication::exit(0);
    }

    void consoleSteps() {
        vq::HostConsole* console = m_w.console;
        // On a single screen (xcb under Xvfb) the console is an ordinary window beside the show.
        const bool ownScreen = console->isVisible();
        if (!ownScreen)
            console->show();
        const int steps = qEnvironmentVariableIntValue("VELQUO_BENCH_STEPS");
        std::vector<double> hall, both, draw, hidden;
        for (int i = 0; i < 30; ++i) // warm-up: caches, the first question of each phase
            keyToRepaint(true);
        for (int i = 0; i < steps; ++i) {
            const auto [h, b] = keyToRepaint(true);
            hall.push_back(h);
            both.push_back(b);
        }
        // One drawing of the hall's screen as the live picture draws it: scaled to 480 x 270.
        for (int i = 0; i < 200; ++i) {
            const qint64 t0 = monotonicNs();
            QPainter p(&m_sink);
            p.scale(480.0 / m_w.form1->width(), 270.0 / m_w.form1->height());
            m_w.form1->render(&p, QPoint(), QRegion(),
                              QWidget::DrawWindowBackground | QWidget::DrawChildren);
            p.end();
            draw.push_back(ms(monotonicNs() - t0));
        }
        console->hide();
        for (int i = 0; i < steps; ++i)
            hidden.push_back(keyToRepaint(false).first);
        const Stats h = stats(hall), b = stats(both), d = stats(draw), x = stats(hidden);
        report(QStringLiteral("console steps=%1 own_screen=%2 hall_median=%3 hall_p99=%4 "
                              "both_median=%5 both_p99=%6 both_max=%7 hidden_median=%8 "
                              "hidden_p99=%9 picture_draw_median=%10")
                   .arg(steps)
                   .arg(ownScreen ? 1 : 0)
                   .arg(h.median, 0, 'f', 2)
                   .arg(h.p99, 0, 'f', 2)
                   .arg(b.median, 0, 'f', 2)
                   .arg(b.p99, 0, 'f', 2)
                   .arg(b.max, 0, 'f', 2)
                   .arg(x.median, 0, 'f', 2)
                   .arg(x.p99, 0, 'f', 2)
                   .arg(d.median, 0, 'f', 3));
        QCoreApplication::exit(0);
    }

    // Heap growth of the pieces of a step, each run 3000 times on its own.
    void parts() {
        TForm1* f = m_w.form1;
        TADOQuery& q = *m_w.dataModule2->ADOQuery1;
        auto measure = [&](const char* name, const std::function<void(int)>& body) {
            for (int i = 0; i < 200; ++i) // warm-up: caches, first allocations
                body(i);
            const long before = heapKb();
            for (int i = 0; i < 3000; ++i)
                body(i);
            QCoreApplication::processEvents();
            report(QStringLiteral("part name=%1 bytes_per_call=%2")
                       .arg(QLatin1StringView(name))
                       .arg(double(heapKb() - before) * 1024 / 3000, 0, 'f', 1));
        };
        const vq::FetchTargets none{};
        // What set-up spends its time on, each piece three times, the best taken.
        auto best = [](const std::function<void()>& body) {
            double b = 1e9;
            for (int i = 0; i < 3; ++i) {
                const qint64 t0 = monotonicNs();
                body();
                b = std::min(b, ms(monotonicNs() - t0));
            }
            return b;
        };
        const QString folder = QCoreApplication::applicationDirPath() + u'/';
        const double decode = best(
            [&] { benchmarkSink += vq::loadPicture(folder + QStringLiteral("bg.jpg")).width(); });
        const QImage bg = vq::loadPicture(folder + QStringLiteral("bg.jpg"));
        const double scale = best([&] {
            benchmarkSink += QPixmap::fromImage(bg.scaled(f->size(), Qt::IgnoreAspectRatio,
                                                          Qt::SmoothTransformation))
                                 .width();
        });
        const double fill = best([&] {
            vq::TMemo store;
            vq::fillPool(q, store);
            benchmarkSink += store.count();
        });
        const double png =
            best([&] { benchmarkSink += vq::loadPicture(QStringLiteral("next.png")).width(); });
        report(QStringLiteral("setup decode_bg=%1 scale_bg=%2 fill_pool=%3 next_png=%4")
                   .arg(decode, 0, 'f', 1)
                   .arg(scale, 0, 'f', 1)
                   .arg(fill, 0, 'f', 1)
                   .arg(png, 0, 'f', 1));
        measure("settings-reads", [&](int) {
            vq::Settings st;
            benchmarkSink += st.integer(vq::Key::wenti_width) + st.integer(vq::Key::wenti_left);
        });
        measure("draw", [&](int) { benchmarkSink += int(vq::drawNumber(*f->Memo1).size()); });
        measure("fetch", [&](int i) { vq::fetchQuestion(q, QString::number(1 + i % 9000), none); });
        measure("question-label-text", [&](int i) {
            f->RzLabel1->setText(
                QStringLiteral("问题 %1 这是一个比较长的问题文本，用来测量标签的换行").arg(i));
        });
        measure("counter-text", [&](int i) { f->Label3->setText(QString::number(i)); });
        measure("label-move", [&](int i) { f->RzLabel2->move(264, 280 + i % 2); });
        measure("repaint", [&](int) { f->repaint(); });
        QCoreApplication::exit(0);
    }

    int benchmarkSink = 0;
    QPixmap m_sink{480, 270};
    bool m_hallPainted = false, m_picturePainted = false, m_consoleStarted = false;
    int m_drawingsBefore = 0;
    qint64 m_paintedArea = 0;
    int m_backgroundPaints = 0; // paint events of the background picture
    QByteArray m_mode;
    vq::PresenterWindows m_w;
    qint64 m_mainNs = 0, m_windowsNs = 0, m_showNs = 0, m_paintNs = 0;
    qint64 m_welcomePaintNs = 0, m_fadeStartNs = 0, m_fadeEndNs = 0;
    std::vector<qint64> m_ticks;
    int m_fadePaints = 0;
};

int runChild(int argc, char** argv, const QByteArray& mode) {
    const qint64 mainNs = monotonicNs();
    Probe* probe = nullptr;
    const int rc = vq::runPresenter(argc, argv, [&](const vq::PresenterWindows& w) {
        probe = new Probe(mode, mainNs);
        probe->setParent(w.form1);
        probe->attach(w);
    });
    return rc;
}

// ---- parent: the installation and the runs ---------------------------------------------------

// A photo-like 3840 x 2160 picture: smooth gradients, shapes and some grain.
QImage bigPicture(quint32 seed) {
    QImage img(3840, 2160, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int n = int(rng.bounded(24u)) - 12;
            const int r = std::clamp(20 + x * 120 / 3840 + n, 0, 255);
            const int g = std::clamp(30 + y * 90 / 2160 + ((x / 7 + y / 11) % 40) + n, 0, 255);
            const int b = std::clamp(90 + (x + y) * 100 / 6000 + n, 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 60; ++i) {
        p.setBrush(QColor::fromHsv(int(rng.bounded(360u)), 160, 220, 90));
        p.setPen(Qt::NoPen);
        const int r = 80 + int(rng.bounded(400u));
        p.drawEllipse(QPoint(int(rng.bounded(3840u)), int(rng.bounded(2160u))), r, r);
    }
    return img;
}

// Draws texts from a few dozen characters only: the glyph caches fill at once, so what memory
// still grows in a soak is not the text rendering.
bool g_smallCharset = false;

// The question's and the answer's fonts at the demo installation's sizes (32 and 34 points, 882
// pixels wide) instead of 14 points: glyphs as large as a hall sees them.
bool g_hallFonts = false;

// Text from the 3755 everyday characters (GB2312 level 1), as real questions are written.
QString chineseText(QRandomGenerator& rng, int minLen, int maxLen) {
    const int len = minLen + int(rng.bounded(quint32(maxLen - minLen + 1)));
    QByteArray gbk;
    gbk.reserve(len * 2);
    for (int i = 0; i < len; ++i) {
        const int lead = g_smallCharset ? 0xB0 : 0xB0 + int(rng.bounded(0xD8u - 0xB0u));
        const int trail = 0xA1 + int(rng.bounded(g_smallCharset ? 40u
                                                 : lead == 0xD7 ? 0xFAu - 0xA1u
                                                                : 0xFFu - 0xA1u));
        gbk += char(lead);
        gbk += char(trail);
    }
    return vq::fromAnsi(gbk);
}

struct Install {
    QTemporaryDir dir;
    QString exe;
    void writeSettings(bool welcome, bool teams = false) const {
        QByteArray out = "[canshu]\r\n";
        const QStringList kv = {
            QStringLiteral("biaoti=答题活动标题"),
            QStringLiteral("biaoti_fontsize=25"),
            QStringLiteral("biaoti_color=16777215"),
            QStringLiteral("biaoti_left=48"),
            QStringLiteral("biaoti_top=72"),
            QStringLiteral("shijian=10"),
            QStringLiteral("shijian_fontsize=40"),
            QStringLiteral("shijian_color=65535"),
            QStringLiteral("shijian_left=792"),
            QStringLiteral("shijian_top=112"),
            QStringLiteral("shijian_sound=0"),
            g_hallFonts ? QStringLiteral("wenti_fontsize=32") : QStringLiteral("wenti_fontsize=14"),
            QStringLiteral("wenti_color=16777215"),
            g_hallFonts ? QStringLiteral("wenti_width=882") : QStringLiteral("wenti_width=600"),
            QStringLiteral("wenti_left=256"),
            QStringLiteral("wenti_top=216"),
            g_hallFonts ? QStringLiteral("daan_fontsize=34") : QStringLiteral("daan_fontsize=14"),
            QStringLiteral("daan_color=16777215"),
            g_hallFonts ? QStringLiteral("daan_width=882") : QStringLiteral("daan_width=600"),
            QStringLiteral("daan_left=264"),
            QStringLiteral("daan_top=280"),
            welcome ? QStringLiteral("huanying=1") : QStringLiteral("huanying=0"),
            QStringLiteral("weizhishezhi=0")};
        for (const QString& line : kv)
            out += vq::toAnsi(line) + "\r\n";
        if (teams)
            for (const char* line : {"duiwu1=红队", "duiwu2=黄队", "duiwu3=蓝队", "duiwu4=绿队"})
                out += vq::toAnsi(QString::fromUtf8(line)) + "\r\n";
        QFile f(dir.filePath(QStringLiteral("opt.ini")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(out) != out.size())
            std::abort();
    }
};

void prepare(Install& in, const char* self) {
    const QString folder = in.dir.path();
    if (!bigPicture(1).save(folder + QStringLiteral("/bg.jpg"), "JPEG", 90) ||
        !bigPicture(2).save(folder + QStringLiteral("/welcome.jpg"), "JPEG", 90))
        std::abort();
    QImage next(128, 128, QImage::Format_ARGB32);
    next.fill(Qt::transparent);
    {
        QPainter p(&next);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(255, 200, 0));
        p.drawEllipse(4, 4, 120, 120);
    }
    next.save(folder + QStringLiteral("/next.png"), "PNG");

    QRandomGenerator rng(7);
    QList<vq::jet::Question> questions;
    for (int i = 1; i <= 10000; ++i)
        questions.append({i, chineseText(rng, 15, 90), chineseText(rng, 2, 30)});
    vq::jet::writeDatabase(folder + QStringLiteral("/db.DLL"), {vq::jet::questionTable(questions)},
                           {vq::jet::kBankPassword});
    // The program folder is the folder of the executable: the probe runs from a copy.
    in.exe = folder + QStringLiteral("/velquo-probe");
    if (!QFile::copy(QString::fromLocal8Bit(self), in.exe))
        std::abort();
    std::printf(
        "installation: bg.jpg %lld kB, welcome.jpg %lld kB, db.DLL %lld kB, 10000 questions\n",
        QFileInfo(folder + QStringLiteral("/bg.jpg")).size() / 1024,
        QFileInfo(folder + QStringLiteral("/welcome.jpg")).size() / 1024,
        QFileInfo(folder + QStringLiteral("/db.DLL")).size() / 1024);
}

using Fields = std::map<QString, QString>;

// Runs one child; returns the fields of each VQBENCH line by its first word, plus "spawn".
std::map<QString, Fields> runOnce(const Install& in, const QProcessEnvironment& env,
                                  const char* mode, int steps = 0) {
    QProcessEnvironment e = env;
    e.insert(QStringLiteral("VELQUO_BENCH_PROBE"), QString::fromLatin1(mode));
    e.insert(QStringLiteral("VELQUO_BENCH_STEPS"), QString::number(steps));
    QProcess p;
    p.setProcessEnvironment(e);
    p.setWorkingDirectory(in.dir.path());
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const qint64 spawnNs = monotonicNs();
    p.start(in.exe, {});
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
    }
    std::map<QString, Fields> out;
    for (const QByteArray& raw : p.readAllStandardOutput().split('\n')) {
        if (!raw.startsWith("VQBENCH "))
            continue;
        const QStringList words = QString::fromUtf8(raw.mid(8)).split(u' ', Qt::SkipEmptyParts);
        Fields f;
        for (const QString& w : words.mid(1)) {
            const qsizetype eq = w.indexOf(u'=');
            if (eq > 0)
                f[w.left(eq)] = w.mid(eq + 1);
        }
        out[words.value(0)] = f;
    }
    out[QStringLiteral("spawn")][QStringLiteral("ns")] = QString::number(spawnNs);
    const QByteArray err = p.readAllStandardError();
    if (p.exitCode() != 0 || out.size() < 2)
        std::printf("  child %s failed (exit %d): %s\n", mode, p.exitCode(),
                    err.left(600).constData());
    return out;
}

double field(const std::map<QString, Fields>& r, const char* line, const char* key) {
    const auto it = r.find(QString::fromLatin1(line));
    if (it == r.end())
        return -1;
    const auto f = it->second.find(QString::fromLatin1(key));
    return f == it->second.end() ? -1 : f->second.toDouble();
}

void startupRuns(Install& in, const QProcessEnvironment& env, bool welcome, int runs) {
    in.writeSettings(welcome);
    std::vector<double> frame, toMain, toWindows, setUp, paint, rss, hwm, welcomeFrame;
    QString size, pool;
    for (int i = 0; i < runs; ++i) {
        const auto r = runOnce(in, env, "startup");
        const double spawn = field(r, "spawn", "ns");
        if (field(r, "startup", "frame") < 0)
            continue;
        frame.push_back(ms(qint64(field(r, "startup", "frame") - spawn)));
        toMain.push_back(ms(qint64(field(r, "startup", "main") - spawn)));
        toWindows.push_back(
            ms(qint64(field(r, "startup", "windows") - field(r, "startup", "main"))));
        setUp.push_back(ms(qint64(field(r, "startup", "paint") - field(r, "startup", "show"))));
        paint.push_back(ms(qint64(field(r, "startup", "frame") - field(r, "startup", "paint"))));
        rss.push_back(field(r, "startup", "rss") / 1024);
        hwm.push_back(field(r, "startup", "hwm") / 1024);
        size = r.at(QStringLiteral("startup")).at(QStringLiteral("size"));
        pool = r.at(QStringLiteral("startup")).at(QStringLiteral("pool"));
    }
    const Stats f = stats(frame), m = stats(toMain), w = stats(toWindows), s = stats(setUp),
                p = stats(paint), r = stats(rss), h = stats(hwm);
    std::printf("  start-up%s, %zu runs, screen %s, pool %s lines: process start -> first frame "
                "median %.1f ms, max %.1f ms\n",
                welcome ? " with welcome screen" : "", frame.size(), qPrintable(size),
                qPrintable(pool), f.median, f.max);
    std::printf("    of which (medians): spawn -> main() %.1f, app+windows %.1f, show+set-up %.1f, "
                "first paint+flush %.1f ms\n",
                m.median, w.median, s.median, p.median);
    std::printf(
        "    memory at first frame: VmRSS median %.1f MB, max %.1f MB; peak VmHWM max %.1f MB\n",
        r.median, r.max, h.max);
}

void soakRun(Install& in, const QProcessEnvironment& env, bool welcome, int steps) {
    in.writeSettings(welcome);
    const auto r = runOnce(in, env, "soak", steps);
    const auto it = r.find(QStringLiteral("soak"));
    if (it == r.end())
        return;
    const Fields& f = it->second;
    std::printf(
        "  %d steps%s (click + repaint of the whole window): median %s ms, p99 %s ms, max %s "
        "ms; handler alone median %s, p99 %s ms; counter %s, pool %s lines\n",
        steps, welcome ? " under the welcome screen" : "", qPrintable(f.at("median")),
        qPrintable(f.at("p99")), qPrintable(f.at("max")), qPrintable(f.at("hmedian")),
        qPrintable(f.at("hp99")), qPrintable(f.at("counter")), qPrintable(f.at("pool")));
    std::printf(
        "    repaint without a step: median %s ms, max %s ms (the first at this size included); "
        "the background painted %s times in the steps\n",
        qPrintable(f.at("repaintmedian")), qPrintable(f.at("repaintmax")),
        qPrintable(f.at("paints")));
    QStringList mb;
    for (const QString& kb : f.at("rss").split(u','))
        mb << QString::number(kb.toDouble() / 1024, 'f', 1);
    std::printf("    VmRSS MB every 1000 steps: %s; peak VmHWM %.1f MB\n",
                qPrintable(mb.join(u' ')), f.at("hwm").toDouble() / 1024);
    QStringList heap;
    for (const QString& kb : f.at("heap").split(u','))
        heap << QString::number(kb.toDouble() / 1024, 'f', 2);
    std::printf("    heap in use MB every 1000 steps: %s\n", qPrintable(heap.join(u' ')));
    const QStringList anon = f.at("anon").split(u','), file = f.at("file").split(u',');
    std::printf(
        "    anonymous memory %.1f -> %.1f MB, file-backed (libraries, fonts) %.1f -> %.1f MB\n",
        anon.value(0).toDouble() / 1024, anon.value(1).toDouble() / 1024,
        file.value(0).toDouble() / 1024, file.value(1).toDouble() / 1024);
    const auto wr = r.find(QStringLiteral("welcome-repaint"));
    if (wr != r.end())
        std::printf("    welcome screen repaint: median %s ms, max %s ms, min %s ms\n",
                    qPrintable(wr->second.at("median")), qPrintable(wr->second.at("max")),
                    qPrintable(wr->second.at("min")));
}

void consoleRun(Install& in, const QProcessEnvironment& env, int steps) {
    in.writeSettings(false);
    const auto r = runOnce(in, env, "console", steps);
    const auto it = r.find(QStringLiteral("console"));
    if (it == r.end())
        return;
    const Fields& f = it->second;
    const char* place = f.at("own_screen") == u"1" ? "on a second screen" : "beside the show";
    // The hall's repaint and the console's come in the same turn of the event loop, the hall's
    // first; only both together are timed with the console open.
    std::printf("  host's console %s, %s Space presses: to both screens repainted median %s ms, "
                "p99 %s ms, max %s ms\n",
                place, qPrintable(f.at("steps")), qPrintable(f.at("both_median")),
                qPrintable(f.at("both_p99")), qPrintable(f.at("both_max")));
    std::printf("    the console hidden: to the hall's repaint median %s ms, p99 %s ms; one "
                "drawing of the live picture %s ms\n",
                qPrintable(f.at("hidden_median")), qPrintable(f.at("hidden_p99")),
                qPrintable(f.at("picture_draw_median")));
}

void scoresRun(Install& in, const QProcessEnvironment& env, int keys) {
    in.writeSettings(false, true);
    const auto r = runOnce(in, env, "scores", keys);
    const auto it = r.find(QStringLiteral("scores"));
    if (it == r.end())
        return;
    const Fields& f = it->second;
    std::printf("  scoreboard, %s digit keys over the 4K background on a %s screen: key to the "
                "board repainted median %s ms, p99 %s ms, max %s ms; board %s, largest repainted "
                "area %s px\n",
                qPrintable(f.at("keys")), qPrintable(f.at("screen")), qPrintable(f.at("median")),
                qPrintable(f.at("p99")), qPrintable(f.at("max")), qPrintable(f.at("board")),
                qPrintable(f.at("painted")));
}

void fadeRuns(Install& in, const QProcessEnvironment& env, int runs) {
    in.writeSettings(true);
    std::vector<double> total, gapMax;
    int badTicks = 0;
    double paints = 0;
    for (int i = 0; i < runs; ++i) {
        const auto r = runOnce(in, env, "fade");
        if (field(r, "fade", "ms") < 0)
            continue;
        total.push_back(field(r, "fade", "ms"));
        gapMax.push_back(field(r, "fade", "gapmax"));
        paints = std::max(paints, field(r, "fade", "paints"));
        if (field(r, "fade", "ticks") != 51 || field(r, "fade", "opacity") != 0)
            ++badTicks;
    }
    const Stats t = stats(total), g = stats(gapMax);
    std::printf(
        "  fade, %zu runs: click -> hidden median %.1f ms, min %.1f, max %.1f ms (1275 +-10%% = "
        "1147.5..1402.5); runs without exactly 51 ticks ending at 0: %d; longest tick gap %.2f ms; "
        "welcome repaints during a fade at most %.0f\n",
        total.size(), t.median, t.min, t.max, badTicks, g.max, paints);
}

// Xvfb on a free display, for the xcb runs; 0 when there is none.
qint64 startXvfb(QProcess& x, QString& display) {
    for (int n = 90; n < 110; ++n) {
        if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
            QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        display = QStringLiteral(":%1").arg(n);
        x.start(QStringLiteral("Xvfb"), {display, QStringLiteral("-screen"), QStringLiteral("0"),
                                         QStringLiteral("1920x1080x24"),
                                         QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!x.waitForStarted(5000))
            return 0;
        for (int i = 0; i < 100; ++i) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                return x.processId();
            QThread::msleep(50);
        }
        x.kill();
        x.waitForFinished();
        return 0;
    }
    return 0;
}

QByteArray g_what; // empty: everything
// The offscreen platform with a second screen, for the console's run there.
QString g_twoScreensConfig;

bool wanted(const char* part) {
    return g_what.isEmpty() || g_what.split(',').contains(part);
}

void runAll(Install& in, const QProcessEnvironment& env, const char* name, int runs, int steps) {
    std::printf("%s\n", name);
    if (wanted("startup")) {
        startupRuns(in, env, false, runs);
        startupRuns(in, env, true, runs);
    }
    if (wanted("soak")) {
        soakRun(in, env, false, steps);
        soakRun(in, env, true, steps);
    }
    if (wanted("fade"))
        fadeRuns(in, env, runs);
    if (wanted("console")) {
        QProcessEnvironment e = env;
        if (e.value(QStringLiteral("QT_QPA_PLATFORM")).startsWith(u"offscreen") &&
            !g_twoScreensConfig.isEmpty())
            e.insert(QStringLiteral("QT_QPA_PLATFORM"), g_twoScreensConfig);
        consoleRun(in, e, std::min(steps, 600));
    }
    if (wanted("scores"))
        scoresRun(in, env, std::min(steps, 1000));
    if (wanted("parts")) {
        in.writeSettings(false);
        QProcessEnvironment e = env;
        e.insert(QStringLiteral("VELQUO_BENCH_PROBE"), QStringLiteral("parts"));
        QProcess p;
        p.setProcessEnvironment(e);
        p.setWorkingDirectory(in.dir.path());
        p.start(in.exe, {});
        p.waitForFinished(300000);
        for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
            if (line.startsWith("VQBENCH part "))
                std::printf("  heap growth: %s\n", line.mid(13).constData());
            else if (line.startsWith("VQBENCH setup "))
                std::printf("  set-up pieces, best of 3, ms: %s\n", line.mid(14).constData());
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray mode = qgetenv("VELQUO_BENCH_PROBE");
    if (!mode.isEmpty())
        return runChild(argc, argv, mode);

    // Options: --runs=N (default 12), --steps=N (default 10000), --only=offscreen|xcb,
    // --what=startup,soak,fade,console,scores,parts (default all), --small-charset (texts of 40
    // characters), --hall-fonts (the demo's text sizes).
    int runs = 12, steps = 10000;
    QByteArray only;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a.startsWith("--runs="))
            runs = a.mid(7).toInt();
        else if (a.startsWith("--steps="))
            steps = a.mid(8).toInt();
        else if (a.startsWith("--only="))
            only = a.mid(7);
        else if (a == "--small-charset")
            g_smallCharset = true;
        else if (a == "--hall-fonts")
            g_hallFonts = true;
        else if (a.startsWith("--what="))
            g_what = a.mid(7);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Install in;
    prepare(in, argv[0]);

    QProcessEnvironment base = QProcessEnvironment::systemEnvironment();
    base.remove(QStringLiteral("VELQUO_BENCH_PROBE"));
    if (only.isEmpty() || only == "offscreen") {
        const QString config = in.dir.filePath(QStringLiteral("offscreen.json"));
        QFile c(config);
        if (c.open(QIODevice::WriteOnly))
            c.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1920,
                        "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        c.close();
        // A laptop's screen beside the projector, for the host's console.
        const QString twoScreens = in.dir.filePath(QStringLiteral("offscreen-two.json"));
        QFile t(twoScreens);
        if (t.open(QIODevice::WriteOnly))
            t.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1920,
                        "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                        {"name": "laptop", "x": 1920, "y": 0, "width": 1920, "height": 1080,
                        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        t.close();
        g_twoScreensConfig = QStringLiteral("offscreen:configfile=") + twoScreens;
        QProcessEnvironment env = base;
        env.insert(QStringLiteral("QT_QPA_PLATFORM"),
                   QStringLiteral("offscreen:configfile=") + config);
        runAll(in, env, "offscreen platform, 1920 x 1080", runs, steps);
    }
    if (only.isEmpty() || only == "xcb") {
        QProcess xvfb;
        QString display;
        if (startXvfb(xvfb, display)) {
            QProcessEnvironment env = base;
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            env.insert(QStringLiteral("DISPLAY"), display);
            runAll(in, env, "xcb under Xvfb 1920 x 1080 x 24, no window manager", runs, steps);
            xvfb.terminate();
            xvfb.waitForFinished(5000);
        } else {
            std::printf("xcb: no Xvfb, skipped\n");
        }
    }
    return 0;
}
