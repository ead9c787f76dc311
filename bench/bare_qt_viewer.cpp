// The least a Qt Widgets program does to show bg.jpg full screen: the picture is read on a
// second thread as soon as the application object exists, and one widget paints it.
// bench/screen_probe.py runs it in velquo's place (--velquo) to show how much of the time to the
// first frame is Qt's own on the machine at hand and how much the presenter's start adds.
//
// Not earlier: the first thread to use Qt becomes Qt's main thread, and a reading thread that
// wins that race leaves the application object "not created in the main() thread" (on X, 8 of
// 60 such starts never showed anything).

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <future>

namespace {

class Picture final : public QWidget {
public:
    explicit Picture(QImage image) : m_image(std::move(image)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(rect(), m_image);
    }

private:
    QImage m_image;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // bg.jpg unless a file is named (the welcome picture, say).
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("bg.jpg");
    auto image = std::async(std::launch::async, [file] { return QImage(file); });
    Picture picture(image.get());
    picture.showFullScreen();
    return QApplication::exec();
}
