#include "controls/application.h"

#include "platform/guard.h"
#include "platform/messages.h"
#include "platform/showscreen.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QScreen>

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

namespace vq {
namespace {

// A box without an owner, centred on the show's screen. It takes its final size only while
// being shown, so it is centred then, before it appears.
class CentredBox final : public QMessageBox {
public:
    CentredBox(Icon icon, const QString& text, StandardButtons buttons)
        : QMessageBox(icon, kApplicationTitle, text, buttons) {
        if (QScreen* screen = showScreen())
            setScreen(screen);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        if (QScreen* screen = showScreen()) {
            QRect r = frameGeometry();
            r.moveCenter(screen->geometry().center());
            move(r.topLeft());
        }
    }
};

class QtMessageService final : public MessageService {
public:
    void errorBox(const QString& text) override {
        // Over its owner when there is one; before the main screen is up, on the show's screen.
        if (QWidget* owner = QApplication::activeWindow()) {
            QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok, owner);
            box.exec();
        } else {
            CentredBox box(QMessageBox::Critical, text, QMessageBox::Ok);
            box.exec();
        }
    }
    void messageBox(const QString& text) override {
        CentredBox box(QMessageBox::NoIcon, text, QMessageBox::Ok);
        box.exec();
    }
    bool question(QWidget* owner, const QString& text, const QString& caption) override {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                        owner);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        return box.exec() == QMessageBox::Yes;
    }
};

QtMessageService g_qtMessages;

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setProgramMessageService(&g_qtMessages);
    installFontSubstitutes();
}

Application::~Application() {
    setProgramMessageService(nullptr);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

QTranslator* installQtTranslations() {
    auto* app = QCoreApplication::instance();
    if (!app)
        return nullptr;
    auto* translator = new QTranslator(app);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

void installFontSubstitutes() {
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"),
                             QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                             QStringLiteral("SimHei")};
    QFont::insertSubstitutions(QStringLiteral("黑体"), cjk);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), cjk);
    // The dialog font, 8 points: of the installed sans fonts, DejaVu Sans Condensed comes
    // closest, with the same 13-pixel line and an average letter width of about 6 pixels at
    // that size, so the captions and notes fit the places the dialog was laid out for
    // (DejaVu Sans is a seventh wider, Nimbus Sans two pixels taller). Chinese text falls
    // back to the CJK font at the end of the list.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                QStringLiteral("Arial"), QStringLiteral("WenQuanYi Zen Hei")});
}

QStringList installedFamilies(const QString& designed) {
    // Each name is looked up once a run: asking whether a name is installed costs fontconfig a
    // full substitution pass, and the installed fonts do not change under a running show.
    static QHash<QString, QStringList> known;
    if (const auto it = known.constFind(designed); it != known.constEnd())
        return *it;
    QStringList families;
    if (QFontDatabase::hasFamily(designed))
        families.append(designed);
    const QStringList installed = QFontDatabase::families();
    const QStringList substitutes = QFont::substitutes(designed);
    for (const QString& substitute : substitutes) {
        // Qt keeps substitutes in lower case; the installed font's own spelling is kept.
        const auto found = std::find_if(installed.begin(), installed.end(), [&](const QString& f) {
            return f.compare(substitute, Qt::CaseInsensitive) == 0;
        });
        if (found != installed.end())
            families.append(*found);
    }
    if (families.isEmpty())
        families.append(designed);
    known.insert(designed, families);
    return families;
}

QFont installedFont(const QString& designed) {
    QFont font;
    font.setFamilies(installedFamilies(designed));
    return font;
}

} // namespace vq
