// Another program on the desktop, as a spreadsheet program or a file manager is to the editor:
//   office_program copy FILE   puts FILE's text (UTF-8) on the clipboard, says "ready" on
//                              stdout and stays its owner until another program takes it over
//   office_program drag FILE   shows a window titled "office drag source"; a press in it drags
//                              FILE (its address, as a file manager drags) until the drop,
//                              then says "dropped <action>" and stays: the program a file is
//                              dropped from keeps serving its data after the drop
// Either ends by itself after two minutes.
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QString path) : m_path(std::move(path)) {
        setWindowTitle(QStringLiteral("office drag source"));
        setFixedSize(160, 120);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* carried = new QMimeData;
        carried->setUrls({QUrl::fromLocalFile(QFileInfo(m_path).absoluteFilePath())});
        auto* drag = new QDrag(this);
        drag->setMimeData(carried);
        const Qt::DropAction done = drag->exec(Qt::CopyAction);
        // The target asks for the data after the drop, as X's drag and drop goes: a source
        // that ended here would leave it an empty drop.
        std::printf("dropped %d\n", int(done));
        std::fflush(stdout);
    }

private:
    QString m_path;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3)
        return 2;
    QTimer::singleShot(120000, &app, &QApplication::quit);
    if (args[1] == QLatin1String("copy")) {
        QFile file(args[2]);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        QClipboard* clipboard = QApplication::clipboard();
        clipboard->setText(QString::fromUtf8(file.readAll()));
        QObject::connect(clipboard, &QClipboard::dataChanged, &app, [clipboard] {
            if (!clipboard->ownsClipboard())
                QApplication::quit();
        });
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (args[1] == QLatin1String("drag")) {
        DragSource source(args[2]);
        source.move(0, 0);
        source.show();
        return app.exec();
    }
    return 2;
}
