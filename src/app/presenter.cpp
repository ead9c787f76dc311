#include "app/presenter.h"

#include "app/consolescreens.h"
#include "app/hostconsole.h"
#include "app/pictureprefetch.h"
#include "app/screenchoice.h"
#include "app/screenpixels.h"
#include "app/tform1.h"
#include "app/tform5.h"
#include "controls/application.h"
#include "data/adoconnection.h"
#include "data/bankprefetch.h"
#include "data/tdatamodule2.h"
#include "platform/display.h"
#include "platform/folders.h"
#include "platform/fontconfiguration.h"
#include "platform/memory.h"
#include "platform/messages.h"
#include "platform/sound.h"
#include "settings/settings.h"
#include "settings/tform3.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <future>
#include <optional>

namespace vq {

int runPresenter(int argc, char** argv,
                 const std::function<void(const PresenterWindows&)>& beforeShow) {
    vq::keepLargeBlocksApart();
    const std::shared_future<void> fontConfiguration = loadFontConfiguration();
    keepScreenPixels();
    vq::Application app(argc, argv);
    const SessionBusConnection sessionBus;
    vq::installQtTranslations();
    QApplication::setApplicationName(vq::kApplicationTitle);
    // The title is the program's name only: a display name would be appended to every window
    // caption, so the exit question would no longer read just "提示".
    // The exit question decides when the program ends, not the closing of a window.
    QApplication::setQuitOnLastWindowClosed(false);

    // The background is decoded at the primary screen's size on a second thread while the
    // windows are created; set-up takes it if nothing changed meanwhile and the show runs at
    // that size, or loads it itself.
    std::optional<PicturePrefetch> background;
    std::optional<PicturePrefetch> welcome;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        background.emplace(programFolder() + QStringLiteral("bg.jpg"), screen->geometry().size());
        // So is the welcome picture when the settings say set-up will show it: it covers the
        // screen from the first frame on.
        if (Settings().flagOn(Key::huanying))
            welcome.emplace(programFolder() + QStringLiteral("welcome.jpg"),
                            screen->geometry().size());
    }
    // The same for the question bank the data module opens: the connection and its query.
    BankPrefetch bank(TADOConnection::designedConnectionString(), TDataModule2::designedSql());
    // Qt's first image reader reads the descriptions of the installed image-format plugins (a
    // few ms), here on the main thread as the windows are made. Warming that list up on a second
    // thread beside them crashed velquo.exe inside Qt's plugin list in about one start in forty
    // under wine.

    // The windows' texts are measured from here on.
    if (fontConfiguration.valid())
        fontConfiguration.wait();

    // Created in this order, none shown; destroyed in reverse, the data module (query, then
    // connection) after the dialogs and before the main screen.
    TForm1 form1;
    form1.BackgroundPrefetch = background ? &*background : nullptr;
    TDataModule2 dataModule2(&bank);
    TForm3 form3(&form1);
    TForm5 form5;
    form5.WelcomePrefetch = welcome ? &*welcome : nullptr;
    form1.DataModule2 = &dataModule2;
    form1.Form3 = &form3;
    form1.Form5 = &form5;

    // The host's console follows the main screen and goes before it.
    HostConsole console(form1);
    QObject::connect(&form1, &TForm1::noticed, &console, &HostConsole::notice);
    auto* consoleScreens = new ConsoleScreens(console, form1, *form1.PopupMenu1, form1.N3);

    if (beforeShow)
        beforeShow(PresenterWindows{&form1, &dataModule2, &form3, &form5, &console});

    // The show's screen is chosen once, before the main screen is first shown.
    form1.Screens->startOn();
    // The first showing runs the main screen's set-up. The bank editor's preview alone asks
    // for an ordinary window, so that the operator sees the show beside the editor.
    if (qEnvironmentVariableIsSet("VELQUO_PREVIEW_WINDOW")) {
        // 1024 x 768 in the middle of the screen (less on a smaller one); the welcome picture
        // covers that window, not the screen.
        QRect place(0, 0, 1024, 768);
        if (const QScreen* s = QGuiApplication::primaryScreen()) {
            place.setSize(place.size().boundedTo(s->availableGeometry().size() * 9 / 10));
            place.moveCenter(s->availableGeometry().center());
        }
        form1.setWindowFlag(Qt::FramelessWindowHint, false);
        form1.setGeometry(place);
        form5.setMaximizedWhenShown(false);
        form5.setGeometry(place);
        form1.show();
    } else {
        form1.showFullScreen();
        // The host's console, on the operator's screen beside the projector: after the main
        // screen, so that the show is up first.
        QTimer::singleShot(0, consoleScreens, &ConsoleScreens::start);
    }
    return QApplication::exec();
}

} // namespace vq
