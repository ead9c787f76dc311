#include "app/tform1.h"

#include "app/hallkeys.h"
#include "app/keptshow.h"
#include "app/mediapicture.h"
#include "app/picturearea.h"
#include "app/pictureloader.h"
#include "app/pictureprefetch.h"
#include "app/picturereader.h"
#include "app/questionpicture.h"
#include "app/rankingscreen.h"
#include "app/scoreboard.h"
#include "app/scorerecord.h"
#include "app/screenchoice.h"
#include "app/showlayout.h"
#include "app/showstate.h"
#include "app/tcustomlabel.h"
#include "app/teams.h"
#include "app/teamsdialog.h"
#include "app/tform5.h"
#include "app/timage.h"
#include "app/trzlabel.h"
#include "controls/application.h"
#include "controls/memo.h"
#include "controls/rzcoloredit.h"
#include "controls/rzspinner.h"
#include "data/adoconnection.h"
#include "data/adoquery.h"
#include "data/bankschema.h"
#include "data/questionpool.h"
#include "data/tdatamodule2.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/guard.h"
#include "platform/memory.h"
#include "platform/messages.h"
#include "platform/sound.h"
#include "settings/settings.h"
#include "settings/tform3.h"

#include <QAction>
#include <QBackingStore>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstdint>

using vq::Key;

namespace {

// A place worked out from a label's place and a pointer's offset, held in the 32-bit range.
int saturated(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

// A label as designed: its font, colour and text.
void dress(TCustomLabel* label, const QFont& font, TColor color, const QString& text) {
    label->setFont(font);
    label->setFontColor(color);
    label->setText(text);
}

// The built-in background, read as every picture is: by the JPEG reader named for it, without
// asking every installed reader whether it reads the kind.
QImage builtInBackground() {
    QFile file(QStringLiteral(":/app/background.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file, "jpeg");
    reader.setDecideFormatFromContent(false);
    QString error;
    return vq::readPicture(reader, QSize(), error);
}

TADOQuery& questionQuery(TDataModule2* module) {
    if (!module || !module->ADOQuery1)
        throw vq::Exception(QStringLiteral("题库无法使用"));
    return *module->ADOQuery1;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    Q_INIT_RESOURCE(tform1);
    setWindowTitle(QStringLiteral("晚会随机出题系统"));
    // The program's taskbar entry (and its minimised form) carries the application title; the
    // caption stays the main screen's own.
    setWindowIconText(vq::kApplicationTitle);
    setWindowFlag(Qt::FramelessWindowHint);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(1122, 715);
    createControls();
}

TForm1::~TForm1() = default;

void TForm1::createControls() {
    // Creation order is the stacking order, bottom to top.
    Image1 = new TImage(this, TImage::Fit::Stretch);
    Image1->setGeometry(rect());
    // Decoded only if set-up's own background does not take its place.
    Image1->setPicture(std::function<QImage()>(builtInBackground));

    Picture = new QuestionPicture(this);
    Pictures = new vq::PictureLoader(this);

    Label2 = new TLabel(this);
    Label2->move(48, 72);
    dress(Label2, designedLabelFont(33, true), clWhite,
          QStringLiteral("答题活动标题 设置时将文字全部删除就不显示了 你也可以改背景图"));

    Label1 = new TLabel(this);
    Label1->move(792, 112);
    dress(Label1, designedLabelFont(53, false), clYellow, QStringLiteral("准备计时"));

    Image3 = new TImage(this, TImage::Fit::Proportional);
    Image3->setGeometry(984, 552, 49, 49);
    Image3->setCursor(Qt::PointingHandCursor);
    Image3->setToolTip(QStringLiteral("下一步"));

    Label3 = new QLabel(QStringLiteral("0"), this);
    Label3->setGeometry(0, 0, 41, 41);
    Label3->hide();

    Image4 = new TImage(this, TImage::Fit::Stretch);
    Image4->setGeometry(984, 496, 49, 49);
    Image4->setCursor(Qt::PointingHandCursor);

    RzLabel1 = new TRzLabel(this);
    RzLabel1->setGeometry(256, 216, 600, 19);
    dress(RzLabel1, questionLabelFont(), clWhite, QStringLiteral("问"));

    RzLabel2 = new TRzLabel(this);
    RzLabel2->setGeometry(264, 280, 600, 19);
    dress(RzLabel2, answerLabelFont(), clWhite, QStringLiteral("答"));

    // Above the text items, hidden until teams are set up.
    Scores = new vq::Teams(this);
    Board = new vq::Scoreboard(*Scores, this);

    createStepControls();
    createMenu();
    Ranking = new vq::RankingScreen(*Scores, *Image1, this);
    Ranking->hide();
    // The record takes each change before the show state is written, which notes how far the
    // record had got.
    m_record =
        std::make_unique<vq::ScoreRecord>(vq::programFolder() + QStringLiteral("比赛记录.csv"));
    connect(Scores, &vq::Teams::changed, this, &TForm1::recordScore);
    // Last, so that the black-out cover lies above every control and the hall's keys reach
    // the step button's filter first.
    Screens = new vq::ScreenChoice(*this, *PopupMenu1, N3);
    Hall = new vq::HallKeys(*this);
    State =
        new vq::ShowState(*this, *PopupMenu1, vq::programFolder() + QStringLiteral("上一场.ini"));
    connectHandlers();
}

// The hidden controls that drive and carry the question cycle: the step button that holds the
// keyboard focus, the pool store and the countdown's timer.
void TForm1::createStepControls() {
    Button1 = new QPushButton(QStringLiteral("Button1"), this);
    Button1->setGeometry(824, 632, 75, 25);
    Button1->setFocusPolicy(Qt::StrongFocus);
    Button1->setAutoDefault(false);
    Button1->installEventFilter(this);

    // The question pool's lines.
    Memo1 = new vq::TMemo(this);
    Memo1->setGeometry(1032, 208, 185, 233);
    Memo1->setPlainText(QStringLiteral("Memo1\n"));
    Memo1->hide();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    // Each tick on its second: a coarse timer may shift a tick by up to 50 ms.
    Timer1->setTimerType(Qt::PreciseTimer);

    setFocusProxy(Button1);
    Button1->setFocus();
}

void TForm1::createMenu() {
    PopupMenu1 = new QMenu(this);
    N4 = PopupMenu1->addAction(QStringLiteral("自动排版"));
    N7 = PopupMenu1->addAction(QStringLiteral("系统设置"));
    N3 = PopupMenu1->addSeparator();
    N2 = PopupMenu1->addAction(QStringLiteral("最小化"));
    N1 = PopupMenu1->addAction(QStringLiteral("退出系统"));
}

void TForm1::connectHandlers() {
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Image3, &TGraphicControl::clicked, this, &TForm1::Image3Click);
    connect(Image4, &TGraphicControl::clicked, this, &TForm1::Image4Click);
    connect(N4, &QAction::triggered, this, &TForm1::N4Click);
    connect(N7, &QAction::triggered, this, &TForm1::N7Click);
    connect(N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);

    for (TGraphicControl* c :
         {static_cast<TGraphicControl*>(Image1), static_cast<TGraphicControl*>(Label2),
          static_cast<TGraphicControl*>(Label1), static_cast<TGraphicControl*>(Image3),
          static_cast<TGraphicControl*>(Image4), static_cast<TGraphicControl*>(RzLabel1),
          static_cast<TGraphicControl*>(RzLabel2), static_cast<TGraphicControl*>(Board),
          static_cast<TGraphicControl*>(Picture)})
        connect(c, &TGraphicControl::menuRequested, this, &TForm1::popupMenu);
    connectDragging();
    connect(Pictures, &vq::PictureLoader::loaded, this, &TForm1::pictureLoaded);
    connect(this, &TForm1::showChanged, this, &TForm1::followPicture);
}

void TForm1::connectDragging() {
    // The draggable labels and the keys each one's moves write, in the written order.
    m_draggables = {{
        {Label1, {{Key::shijian_left, Edge::Left}, {Key::shijian_top, Edge::Top}}},
        {Label2, {{Key::biaoti_left, Edge::Left}, {Key::biaoti_top, Edge::Top}}},
        {RzLabel1,
         {{Key::wenti_left, Edge::Left},
          {Key::wenti_top, Edge::Top},
          {Key::daan_left, Edge::Left},
          {Key::daan_top, Edge::Top, 30}}},
        {RzLabel2, {{Key::daan_left, Edge::Left}}},
        {Board, {{Key::jifenban_left, Edge::Left}, {Key::jifenban_top, Edge::Top}}},
        {Picture, {{Key::tupian_left, Edge::Left}, {Key::tupian_top, Edge::Top}}},
    }};
    connect(Label1, &TGraphicControl::mouseDown, this, &TForm1::Label1MouseDown);
    connect(Label1, &TGraphicControl::mouseMoved, this, &TForm1::Label1MouseMove);
    connect(Label1, &TGraphicControl::mouseUp, this, &TForm1::Label1MouseUp);
    connect(Label2, &TGraphicControl::mouseDown, this, &TForm1::Label2MouseDown);
    connect(Label2, &TGraphicControl::mouseMoved, this, &TForm1::Label2MouseMove);
    connect(Label2, &TGraphicControl::mouseUp, this, &TForm1::Label2MouseUp);
    connect(RzLabel1, &TGraphicControl::mouseDown, this, &TForm1::RzLabel1MouseDown);
    connect(RzLabel1, &TGraphicControl::mouseMoved, this, &TForm1::RzLabel1MouseMove);
    connect(RzLabel1, &TGraphicControl::mouseUp, this, &TForm1::RzLabel1MouseUp);
    connect(RzLabel2, &TGraphicControl::mouseDown, this, &TForm1::RzLabel2MouseDown);
    connect(RzLabel2, &TGraphicControl::mouseMoved, this, &TForm1::RzLabel2MouseMove);
    connect(RzLabel2, &TGraphicControl::mouseUp, this, &TForm1::RzLabel2MouseUp);
    // The scoreboard joins the same one drag.
    connect(Board, &TGraphicControl::mouseDown, this,
            [this](Button, Keys, int x, int y) { dragPress(x, y); });
    connect(Board, &TGraphicControl::mouseMoved, this,
            [this](Buttons, Keys, int x, int y) { dragMove(Board, x, y); });
    connect(Board, &TGraphicControl::mouseUp, this,
            [this](Button, Keys, int, int) { dragRelease(); });
    // The picture's area joins it too, while it shows a picture.
    connect(Picture, &TGraphicControl::mouseDown, this,
            [this](Button, Keys, int x, int y) { dragPress(x, y); });
    connect(Picture, &TGraphicControl::mouseMoved, this,
            [this](Buttons, Keys, int x, int y) { dragMove(Picture, x, y); });
    connect(Picture, &TGraphicControl::mouseUp, this,
            [this](Button, Keys, int, int) { dragRelease(); });
    connect(Ranking, &vq::RankingScreen::dismissed, this, [this] { setRankingShown(false); });
}

QString TForm1::exitQuestion() {
    return QStringLiteral("程序即将关闭退出！点\"是\"退出程序，点\"否\"返回程序！");
}

// ---- events ----------------------------------------------------------------------------------

bool TForm1::event(QEvent* event) {
    // The welcome screen stays above the main screen (TForm5::setVisible) and takes the keys
    // while it is up. A window manager activates the main screen when it maps it, after
    // set-up has shown the welcome screen; hand the focus back to the welcome screen, so that
    // no key steps the show beneath the picture.
    if (event->type() == QEvent::WindowActivate && Form5 && Form5->isVisible()) {
        QTimer::singleShot(0, Form5, [welcome = Form5] {
            if (welcome->isVisible()) {
                welcome->raise();
                welcome->activateWindow();
            }
        });
    }
    return QWidget::event(event);
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_setUp || isMinimized())
        return;
    m_setUp = true;
    vq::guarded([&] {
        // Full screen also where no window manager takes the window to the screen's size.
        if (isFullScreen())
            if (QScreen* s = screen())
                setGeometry(s->geometry());
        prepareBackingStore();
        FormShow();
    });
    vq::guarded([&] { beginKeptShow(); });
    // Whatever set-up left behind (the bank's rows read for the pool, decoding buffers) is
    // given back once the event loop runs: the window is then being mapped, and until the
    // window manager has done so the main thread has nothing else to do.
    QTimer::singleShot(0, this, [] { vq::returnFreedMemory(); });
    // A damaged bank: the pool holds the rows that could be read and the show goes on; the
    // operator hears of it once, after set-up.
    vq::guarded([&] {
        if (DataModule2 && DataModule2->ADOQuery1)
            if (const QString m = vq::bankDamageMessage(*DataModule2->ADOQuery1); !m.isEmpty())
                vq::showMessageBox(m);
    });
}

// The window's backing store is made now, at the window's size, and its pages are faulted in on
// a second thread while set-up runs: the first paint writes every pixel of it, and fresh memory
// takes a fault each 4 KB (about 5 ms for a 1920 x 1080 screen, just before the first frame).
// Qt keeps a backing store of the right size when it paints.
void TForm1::prepareBackingStore() {
    QBackingStore* store = backingStore();
    if (!store)
        return;
    store->resize(size());
    const auto* image = dynamic_cast<const QImage*>(store->paintDevice());
    if (!image || image->isNull())
        return;
    m_backingStorePages = std::async(
        std::launch::async, [data = image->constBits(), bytes = size_t(image->sizeInBytes())] {
            vq::populatePages(data, bytes);
        });
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    vq::guarded([&] {
        Image1->setGeometry(rect());
        Ranking->setGeometry(rect());
        FormResize();
        placeScoreboard();
    });
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->ignore();
    vq::guarded([&] {
        if (vq::messages().question(this, exitQuestion(), QStringLiteral("提示"))) {
            event->accept();
            QCoreApplication::quit();
        }
    });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Button1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // Enter clicks the focused push button, unless Shift, Ctrl or Alt is held.
            if (mods == Qt::NoModifier && !key->isAutoRepeat())
                Button1->click();
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            // No other control takes the focus.
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::popupMenu(const QPoint& globalPos) {
    vq::guarded([&] { PopupMenu1->popup(globalPos); });
}

// ---- set-up ----------------------------------------------------------------------------------

// Set-up reads opt.ini in a fixed order, one key after another, and a key that fails to read
// stops it there: what came before it stays done. The order is kept so that a bad key leaves
// the same half-made screen it always has.
void TForm1::FormShow() {
    vq::Settings s;
    // The background is decoded at the size it covers, the main screen's. A damaged picture
    // shows what could be decoded of it; the operator hears what is wrong, and set-up goes on.
    QString damage;
    Image1->setPicture(vq::takeOrLoad(
        BackgroundPrefetch, vq::programFolder() + QStringLiteral("bg.jpg"), size(), &damage));
    if (!damage.isEmpty())
        vq::showErrorBox(damage);

    // The answer hidden, both texts at their widths, the answer just below the question.
    RzLabel2->hide();
    RzLabel1->setWidth(s.integer(Key::wenti_width));
    RzLabel2->setWidth(s.integer(Key::daan_width));
    RzLabel2->move(RzLabel2->x(), answerTopBelow(*RzLabel1));
    // The pool store and the step button out of sight above the screen; countdown and question
    // empty.
    Memo1->clear();
    Memo1->move(Memo1->x(), -300);
    Label1->setText(QString());
    RzLabel1->setText(QString());
    Button1->move(Button1->x(), -300);
    FormResize();

    // The four text items at their places, then their colours and sizes, mirrored into the
    // settings dialog's controls so that it opens showing what the screen shows.
    placeFromSettings(s, Label1, Key::shijian_left, Key::shijian_top);
    placeFromSettings(s, Label2, Key::biaoti_left, Key::biaoti_top);
    placeFromSettings(s, RzLabel1, Key::wenti_left, Key::wenti_top);
    placeFromSettings(s, RzLabel2, Key::daan_left, Key::daan_top);
    Form3->RzSpinner2->setValue(s.integer(Key::shijian));
    for (const LabelStyle& item : labelStyles()) {
        item.label->setFontColor(s.integer(item.color));
        item.colorEdit->setSelectedColor(s.integer(item.color));
    }
    for (const LabelStyle& item : labelStyles()) {
        item.label->setFontPoints(s.integer(item.size));
        item.sizeSpinner->setValue(s.integer(item.size));
    }
    Form3->Edit1->setText(s.text(Key::biaoti));
    Label2->setText(s.text(Key::biaoti));
    Form3->RzSpinner6->setValue(s.integer(Key::wenti_width));
    Form3->RzSpinner7->setValue(s.integer(Key::daan_width));
    tickFromFlag(s, Key::huanying, Form3->CheckBox3);
    tickFromFlag(s, Key::shijian_sound, Form3->CheckBox1);
    prepareCountdownSound(s);

    if (s.flagOn(Key::huanying) && Form5)
        Form5->show();
    // When the settings dialog was saved with 下次运行软件后显示标签位置 ticked, the items show
    // sample texts, so that the operator sees where each one stands; the flag is used once.
    if (s.flagOn(Key::weizhishezhi)) {
        Label1->setText(QStringLiteral("10"));
        Label1->show();
        RzLabel1->show();
        RzLabel2->show();
        RzLabel1->setText(QStringLiteral("问"));
        RzLabel2->setText(QStringLiteral("答"));
    }
    s.writeFlag(Key::weizhishezhi, false);
    vq::fillPool(questionQuery(DataModule2), *Memo1);
    m_poolSize = Memo1->count();
    prepareClipSound();
    // The next-step picture by its bare name, so from the current folder.
    Image3->setPicture(vq::loadPicture(vq::expandName(QStringLiteral("next.png"))));
    setUpTeams(s);
}

// The teams named in opt.ini, in the order of their keys (an empty key is no team), all at the
// start score; the board in the title's font and colour unless it has its own.
void TForm1::setUpTeams(const vq::Settings& s) {
    QStringList names;
    for (const vq::OptionalTextKey key : Key::duiwu)
        if (const QString name = s.text(key).trimmed(); !name.isEmpty())
            names << name;
    Scores->setUp(names, s.integer(Key::duiwu_fenshu).value_or(vq::Teams::kDefaultStartScore),
                  s.integer(Key::defen).value_or(vq::Teams::kDefaultStep));
    offerTeamsAction();
    Board->setFont(Label2->font());
    Board->setFontColor(Label2->fontColor());
    if (const auto size = s.integer(Key::jifenban_fontsize))
        Board->setFontPoints(*size);
    if (const auto colour = s.integer(Key::jifenban_color))
        Board->setFontColor(*colour);
    placeScoreboard();
}

// Where no team is set up the menu stays as it always was.
void TForm1::offerTeamsAction() {
    if (Scores->any() && !TeamsAction) {
        TeamsAction = new QAction(QStringLiteral("队伍设置"), PopupMenu1);
        PopupMenu1->insertAction(N3, TeamsAction);
        connect(TeamsAction, &QAction::triggered, this, &TForm1::teamsClick);
    } else if (!Scores->any() && TeamsAction) {
        PopupMenu1->removeAction(TeamsAction);
        TeamsAction->deleteLater();
        TeamsAction = nullptr;
    }
}

void TForm1::teamsClick() {
    vq::guarded([&] {
        vq::TeamSetup now{Scores->names(), Scores->startScore(), Scores->step()};
        vq::TeamsDialog dialog(now, this);
        if (dialog.exec() == QDialog::Accepted)
            applyTeams(dialog.setup());
        Button1->setFocus();
    });
}

void TForm1::applyTeams(const vq::TeamSetup& setup) {
    const vq::Settings s;
    QStringList names;
    for (int i = 0; i < vq::Teams::kMaxTeams; ++i) {
        const QString name = setup.names.value(i).trimmed();
        s.write(Key::duiwu[size_t(i)], name);
        if (!name.isEmpty())
            names << name;
    }
    s.writeInteger(Key::duiwu_fenshu, setup.startScore);
    s.writeInteger(Key::defen, setup.step);
    if (names == Scores->names())
        Scores->setRules(setup.startScore, setup.step);
    else
        Scores->setUp(names, setup.startScore, setup.step);
    offerTeamsAction();
    placeScoreboard();
}

// Where opt.ini puts the board (a drag writes it there), else at the bottom left, clear of the
// next-step picture; it wraps into rows within the room to the screen's right edge.
void TForm1::placeScoreboard() {
    if (!Scores->any())
        return;
    const vq::Settings s;
    const auto left = s.integer(Key::jifenban_left);
    const auto top = s.integer(Key::jifenban_top);
    const int x = left.value_or(48);
    Board->setRoom(width() - std::clamp(x, 0, width()) - Image3->width() - 60);
    Board->move(x, top.value_or(height() - Board->height() - 30));
}

// The kept show is looked at once the pool is filled, against the bank the pool came from.
void TForm1::beginKeptShow() {
    if (DataModule2 && DataModule2->ADOConnection1)
        State->begin(
            vq::expandName(DataModule2->ADOConnection1->property(QStringLiteral("Data Source"))));
}

// A label's place from its two keys: the left edge moves before the top key is read, so a
// failing top key leaves the label at its new left.
void TForm1::placeFromSettings(const vq::Settings& s, TGraphicControl* label, vq::IntegerKey left,
                               vq::IntegerKey top) {
    label->move(s.integer(left), label->y());
    label->move(label->x(), s.integer(top));
}

// A tick box follows its flag only when the flag reads "1" or "0"; any other text leaves it.
void TForm1::tickFromFlag(const vq::Settings& s, vq::FlagKey flag, QCheckBox* box) {
    if (s.flagOn(flag))
        box->setChecked(true);
    if (s.flagOff(flag))
        box->setChecked(false);
}

// The four labels whose colour and size the settings dialog edits, in the written order.
std::array<TForm1::LabelStyle, 4> TForm1::labelStyles() const {
    return {{
        {Label2, Key::biaoti_color, Key::biaoti_fontsize, Form3->RzColorEdit1, Form3->RzSpinner1},
        {Label1, Key::shijian_color, Key::shijian_fontsize, Form3->RzColorEdit2, Form3->RzSpinner3},
        {RzLabel1, Key::wenti_color, Key::wenti_fontsize, Form3->RzColorEdit3, Form3->RzSpinner4},
        {RzLabel2, Key::daan_color, Key::daan_fontsize, Form3->RzColorEdit4, Form3->RzSpinner5},
    }};
}

void TForm1::FormResize() {
    Image3->move(Image3->x(), height() - Image3->height() - 60);
    Image3->move(width() - Image3->width() - 30, Image3->y());
}

// ---- menu ------------------------------------------------------------------------------------

void TForm1::N4Click() {
    vq::guarded([&] { layOutForScreen(); });
}

// The four text items placed to fit the screen the show runs on, in their present fonts and
// texts, and stored as dragging them there would store them; the widths too, in the settings
// file and in the settings dialog, whose saving writes them.
void TForm1::layOutForScreen() {
    vq::LayoutMetrics m;
    m.screen = size();
    m.title = Label2->size();
    // The countdown's widest text: its length, the preview's "10", or what it shows now.
    const QFontMetrics countdownFont(Label1->font());
    QStringList countdownTexts{QStringLiteral("10"), Label1->text()};
    if (const auto length = vq::tryStrToInt(vq::Settings().text(Key::shijian)))
        countdownTexts << QString::number(*length);
    for (const QString& t : countdownTexts)
        m.countdown = m.countdown.expandedTo(countdownFont.size(Qt::TextSingleLine, t));
    m.questionLine = RzLabel1->oneLineHeight();
    m.answerLine = RzLabel2->oneLineHeight();
    m.nextStep = Image3->size();
    const vq::ShowLayout l = vq::layOut(m);

    Label2->move(l.title);
    Label1->move(l.countdown);
    // Wrapped anew at the new widths; the answer stands below the question as a step puts it.
    RzLabel1->setWidth(l.questionWidth);
    RzLabel1->move(l.question);
    RzLabel1->setText(RzLabel1->text());
    RzLabel2->setWidth(l.answerWidth);
    RzLabel2->setText(RzLabel2->text());
    RzLabel2->move(l.answer.x(), answerTopBelow(*RzLabel1));
    if (Form3) {
        Form3->RzSpinner6->setValue(l.questionWidth);
        Form3->RzSpinner7->setValue(l.answerWidth);
    }

    const vq::Settings s;
    s.writeInteger(Key::biaoti_left, l.title.x());
    s.writeInteger(Key::biaoti_top, l.title.y());
    s.writeInteger(Key::shijian_left, l.countdown.x());
    s.writeInteger(Key::shijian_top, l.countdown.y());
    s.writeInteger(Key::wenti_width, l.questionWidth);
    s.writeInteger(Key::wenti_left, l.question.x());
    s.writeInteger(Key::wenti_top, l.question.y());
    s.writeInteger(Key::daan_width, l.answerWidth);
    s.writeInteger(Key::daan_left, l.answer.x());
    s.writeInteger(Key::daan_top, l.answer.y());
    // A picture area the operator placed goes where the new layout leaves room for pictures
    // (the next question shows there); without one, the pictures follow the question anyway.
    if (s.integer(Key::tupian_left) || s.integer(Key::tupian_top) || s.integer(Key::tupian_width) ||
        s.integer(Key::tupian_height)) {
        const QRect area = vq::defaultPictureArea(size(), questionRoom(l.question, l.questionWidth),
                                                  Image3->geometry());
        s.writeInteger(Key::tupian_left, area.x());
        s.writeInteger(Key::tupian_top, area.y());
        s.writeInteger(Key::tupian_width, area.width());
        s.writeInteger(Key::tupian_height, area.height());
    }
}

void TForm1::N7Click() {
    vq::guarded([&] {
        if (!Form3)
            return;
        if (Form3->exec() != QDialog::Accepted)
            Button1->setFocus();
    });
}

void TForm1::N2Click() {
    vq::guarded([&] { setWindowState(windowState() | Qt::WindowMinimized); });
}

void TForm1::N1Click() {
    vq::guarded([&] { close(); });
}

// ---- question cycle --------------------------------------------------------------------------

int TForm1::stepCounter() const {
    return vq::strToInt(Label3->text());
}

void TForm1::Image3Click() {
    vq::guarded([&] {
        // The next step from the ranking returns to the show; it does not step.
        if (rankingShown())
            setRankingShown(false);
        else
            step();
    });
}

void TForm1::Button1Click() {
    vq::guarded([&] { Image3Click(); });
}

void TForm1::Image4Click() {
    vq::guarded([&] {
        RzLabel2->hide();
        followPicture();
    });
}

void TForm1::step() {
    // Whatever step comes, the question's clip has had its time.
    stopClip();
    vq::Settings s;
    RzLabel1->setWidth(s.integer(Key::wenti_width));
    RzLabel2->setWidth(s.integer(Key::daan_width));
    const bool draws = stepCounter() % 3 == 0;
    if (stepCounter() % 3 == 2) {
        RzLabel2->show();
        stopCountdown();
        Label1->hide();
    }
    if (stepCounter() % 3 == 1) {
        Label1->show();
        Label1->setText(QString::number(countdownLength(s)));
        // Sound switched on in the settings since set-up: the connection has the second
        // before the first tick to come up.
        prepareCountdownSound(s);
        m_paused = false;
        if (!Timer1->isActive())
            Timer1->start();
    }
    if (stepCounter() % 3 == 0) {
        const QString number = vq::drawNumber(*Memo1);
        const QScreen* screen = QGuiApplication::primaryScreen();
        RzLabel2->move(RzLabel2->x(), (screen ? screen->geometry().height() : height()) + 200);
        vq::FetchTargets targets;
        targets.setQuestion = [this](const QString& t) { RzLabel1->setText(t); };
        targets.setAnswer = [this](const QString& t) { RzLabel2->setText(t); };
        targets.hideAnswer = [this] { RzLabel2->hide(); };
        targets.setExtras = [this](const vq::QuestionExtras& e) { showExtras(e); };
        m_number = number;
        if (!number.isEmpty())
            m_drawn << number;
        vq::fetchQuestion(questionQuery(DataModule2), number, targets);
    }
    Label3->setText(QString::number(stepCounter() + 1));
    placeQuestionAndAnswer(s);
    announce(draws ? vq::ShowChange::Draw : vq::ShowChange::Step);
}

void TForm1::placeQuestionAndAnswer(const vq::Settings& s) {
    placeFromSettings(s, RzLabel1, Key::wenti_left, Key::wenti_top);
    RzLabel2->move(s.integer(Key::daan_left), RzLabel2->y());
    RzLabel2->move(RzLabel2->x(), answerTopBelow(*RzLabel1));
}

void TForm1::resume(const vq::KeptShow& kept) {
    vq::guarded([&] {
        const vq::Settings s;
        stopCountdown();
        const QSet<QString> drawn(kept.drawn.begin(), kept.drawn.end());
        for (int i = Memo1->count() - 1; i >= 0; --i)
            if (drawn.contains(Memo1->at(i)))
                Memo1->removeAt(i);
        m_drawn = kept.drawn;
        m_number = kept.number;

        RzLabel1->setWidth(s.integer(Key::wenti_width));
        RzLabel2->setWidth(s.integer(Key::daan_width));
        // A show that ran out of questions still had its last one up.
        const QString shown =
            kept.number.isEmpty() ? kept.drawn.value(kept.drawn.size() - 1) : kept.number;
        vq::FetchTargets targets;
        targets.setQuestion = [this](const QString& t) { RzLabel1->setText(t); };
        targets.setAnswer = [this](const QString& t) { RzLabel2->setText(t); };
        // The clip only where the question had just been drawn: it had its time before.
        const vq::ShowPhase phase = vq::phaseOf(kept.counter);
        targets.setExtras = [this, phase](const vq::QuestionExtras& e) {
            showExtras(e, phase == vq::ShowPhase::Question);
        };
        if (!shown.isEmpty())
            vq::fetchQuestion(questionQuery(DataModule2), shown, targets);

        // The countdown as if it had been stopped at its full length: shown while it was its
        // phase, hidden behind the answer as a reveal hides it (a step back brings it back).
        Label1->setText(phase == vq::ShowPhase::Question ? QString()
                                                         : QString::number(countdownLength(s)));
        Label1->setVisible(phase == vq::ShowPhase::Countdown);
        RzLabel2->setVisible(phase == vq::ShowPhase::Answer);
        Label3->setText(QString::number(kept.counter));
        placeQuestionAndAnswer(s);
        announce(vq::ShowChange::Resume);
    });
}

// 换一题: the question up is put aside, out of the pool as every drawn one, and the next drawn in
// its place; its countdown, if any, goes with it. Before the first draw it is the first draw.
void TForm1::drawAnother() {
    const int counter = stepCounter();
    if (counter % 3 != 0) {
        stopCountdown();
        Label1->hide();
        RzLabel2->hide();
        Label3->setText(QString::number(counter - counter % 3));
    }
    step();
}

vq::ShowView TForm1::view() const {
    vq::ShowView v;
    v.counter = stepCounter();
    v.phase = vq::phaseOf(v.counter);
    v.number = m_number;
    v.question = RzLabel1->text();
    v.answer = RzLabel2->text();
    v.answerShown = RzLabel2->isVisibleTo(this);
    v.countdown = Label1->text();
    // Before the first countdown the label is there with no text.
    v.countdownState = !Label1->isVisibleTo(this) || v.countdown.isEmpty()
                           ? vq::CountdownState::Hidden
                       : Timer1->isActive() ? vq::CountdownState::Running
                       : m_paused           ? vq::CountdownState::Paused
                                            : vq::CountdownState::Stopped;
    v.blackedOut = Hall && Hall->blackedOut();
    v.left = Memo1->count();
    v.seconds = m_extras.seconds;
    v.points = m_extras.points;
    v.hasSound = !m_extras.sound.isEmpty();
    v.drawn = std::max(0, m_poolSize - v.left);
    return v;
}

void TForm1::run(vq::ShowCommand command) {
    using vq::ShowCommand;
    switch (command) {
    case ShowCommand::Step:
        // Exactly what Enter, Space and Page Down do: a click on the step button.
        Button1->click();
        return;
    case ShowCommand::StepBack:
        vq::guarded([&] {
            stopClip();
            Hall->stepBack();
        });
        return;
    case ShowCommand::BlackOut:
        Hall->setBlackedOut(!Hall->blackedOut());
        return;
    case ShowCommand::PauseOrContinue:
        vq::guarded([&] { pauseOrContinue(); });
        return;
    case ShowCommand::AddTime:
        vq::guarded([&] { changeCountdown(vq::kCountdownStep); });
        return;
    case ShowCommand::TakeTime:
        vq::guarded([&] { changeCountdown(-vq::kCountdownStep); });
        return;
    case ShowCommand::DrawAnother:
        vq::guarded([&] { drawAnother(); });
        return;
    case ShowCommand::Scoreboard:
        if (Scores->any())
            Board->setShown(!Board->shown());
        return;
    case ShowCommand::Ranking:
        setRankingShown(!rankingShown());
        return;
    case ShowCommand::UndoScore:
        Scores->undo();
        return;
    case ShowCommand::ReplaySound:
        vq::guarded([&] { startClip(); });
        return;
    case ShowCommand::StopSound:
        stopClip();
        return;
    }
}

void TForm1::scoreStep(int team, int direction) {
    Scores->add(team, direction * scoreStepSize());
}

int TForm1::scoreStepSize() const {
    return m_extras.points.value_or(Scores->step());
}

// ---- the question's own time and pictures ----------------------------------------------------

// The question's own length where the bank gives one, else the settings' (read only then, so a
// question with its time runs even where opt.ini lacks shijian).
int TForm1::countdownLength(const vq::Settings& s) const {
    if (m_extras.seconds)
        return *m_extras.seconds;
    return s.integer(Key::shijian);
}

// A new question's extras: the last question's pictures go at once, this one's are read in the
// background and shown as they come.
void TForm1::showExtras(const vq::QuestionExtras& extras, bool playClip) {
    m_extras = extras;
    if (playClip)
        startClip();
    Picture->clear();
    m_pictureTicket = 0;
    m_answerPictureTicket = 0;
    if (extras.picture.isEmpty() && extras.answerPicture.isEmpty())
        return;
    const QRect area = pictureArea();
    Picture->move(area.topLeft());
    Picture->resize(area.size());
    if (!extras.picture.isEmpty())
        m_pictureTicket = Pictures->load(vq::mediaPath(extras.picture), area.size());
    if (!extras.answerPicture.isEmpty())
        m_answerPictureTicket = Pictures->load(vq::mediaPath(extras.answerPicture), area.size());
}

// The question's clip from its start, through the countdown's own sound path. A kind of file the
// sound path cannot play here (only WAV and MP3 on Windows) is one line on the console.
void TForm1::startClip() {
    if (m_extras.sound.isEmpty())
        return;
    const QString path = vq::mediaPath(m_extras.sound);
    const QString name = QDir::toNativeSeparators(path);
    QByteArray head;
    switch (vq::readRegularFile(path, 12, &head, nullptr)) {
    case vq::ReadResult::Ok:
        break;
    case vq::ReadResult::Missing:
        emit noticed(QStringLiteral("声音无法播放：%1（找不到文件）").arg(name));
        return;
    case vq::ReadResult::NotRegular:
        emit noticed(QStringLiteral("声音无法播放：%1（不是普通文件）").arg(name));
        return;
    case vq::ReadResult::Failed:
        emit noticed(QStringLiteral("声音无法播放：%1（读不出文件）").arg(name));
        return;
    }
    if (!vq::sounds().plays(vq::soundKindOf(head))) {
        emit noticed(QStringLiteral("声音无法播放：%1（只能播放 %2 文件）")
                         .arg(name, vq::sounds().playableKinds()));
        return;
    }
    vq::playSound(path);
    m_clipStarted = true;
}

void TForm1::stopClip() {
    if (!m_clipStarted)
        return;
    m_clipStarted = false;
    vq::sounds().stop();
}

// The room a question at `at`, wrapped at `width`, keeps clear of pictures: three lines of
// question and one of answer.
QRect TForm1::questionRoom(QPoint at, int width) const {
    return {at.x(), at.y(), std::max(1, width),
            3 * RzLabel1->oneLineHeight() + 30 + RzLabel2->oneLineHeight()};
}

// From opt.ini, else beside or below the question as the settings place it; a setting that
// cannot be read gives the labels' own.
QRect TForm1::pictureArea() const {
    const vq::Settings s;
    const auto read = [&](vq::IntegerKey key, int fallback) {
        return vq::tryStrToInt(s.text(key)).value_or(fallback);
    };
    const QRect question =
        questionRoom({read(Key::wenti_left, RzLabel1->x()), read(Key::wenti_top, RzLabel1->y())},
                     read(Key::wenti_width, RzLabel1->width()));
    return vq::pictureAreaFrom(s, vq::defaultPictureArea(size(), question, Image3->geometry()));
}

void TForm1::pictureLoaded(const vq::LoadedPicture& loaded) {
    vq::guarded([&] {
        if (loaded.ticket == 0)
            return;
        // A quick first picture keeps the ticket for the sharp one that follows.
        if (loaded.ticket == m_pictureTicket) {
            m_pictureTicket = loaded.quick ? m_pictureTicket : 0;
            Picture->setQuestionPicture(loaded.picture);
        } else if (loaded.ticket == m_answerPictureTicket) {
            m_answerPictureTicket = loaded.quick ? m_answerPictureTicket : 0;
            Picture->setAnswerPicture(loaded.picture);
        } else {
            return; // a question gone since
        }
        followPicture();
        if (loaded.error.isEmpty() || loaded.quick)
            return;
        const QString name = QDir::toNativeSeparators(loaded.path);
        emit noticed(loaded.picture.isNull()
                         ? QStringLiteral("图片无法显示：%1（%2）").arg(name, loaded.error)
                         : QStringLiteral("图片已损坏，只显示了能读出的部分：%1（%2）")
                               .arg(name, loaded.error));
    });
}

// The answer's picture while the answer is revealed, the question's otherwise.
void TForm1::followPicture() {
    Picture->setAnswerShown(RzLabel2->isVisibleTo(this) &&
                            vq::phaseOf(stepCounter()) == vq::ShowPhase::Answer);
}

void TForm1::correctScore(int team, int value) {
    Scores->correct(team, value);
}

bool TForm1::rankingShown() const {
    return Ranking->isVisibleTo(this);
}

// The ranking over everything but the black-out cover; only where teams are set up.
void TForm1::setRankingShown(bool shown) {
    if (shown == rankingShown() || (shown && !Scores->any()))
        return;
    if (shown) {
        Ranking->setGeometry(rect());
        Ranking->raise();
        Hall->cover()->raise();
    }
    Ranking->setVisible(shown);
}

// One line of the record for each change the operator made; the teams' set-up and a kept
// show's scores taken up again are no changes.
void TForm1::recordScore(const vq::ScoreChange& change) {
    using vq::ScoreChangeKind;
    if (change.team < 0)
        return;
    vq::ScoreLine line;
    line.time = QDateTime::currentDateTime();
    line.question = view().drawn;
    line.team = Scores->name(change.team);
    line.change = change.delta;
    line.score = Scores->score(change.team);
    line.what = change.kind == ScoreChangeKind::Undo      ? QStringLiteral("撤销")
                : change.kind == ScoreChangeKind::Correct ? QStringLiteral("更正")
                : change.delta > 0                        ? QStringLiteral("加分")
                                                          : QStringLiteral("扣分");
    m_record->append(line);
}

// ---- countdown -------------------------------------------------------------------------------

// The sound server's connection (and the libraries behind it) is made in the background, only
// where the countdown is to be heard, so the first tick sounds as quickly as the later ones.
void TForm1::prepareCountdownSound(const vq::Settings& s) {
    if (s.flagOn(Key::shijian_sound))
        vq::sounds().prepare();
}

// The same for a bank with clips, even with the countdown silent: a connection made at the first
// clip would be made inside the play call, holding that question's frame while it is made.
void TForm1::prepareClipSound() {
    // The fill has just read the whole table: its columns are at hand.
    const TADOQuery& query = questionQuery(DataModule2);
    if (query.active() && query.hasField(vq::bankschema::kSound))
        vq::sounds().prepare();
}

void TForm1::stopCountdown() {
    Timer1->stop();
    m_paused = false;
}

// P holds a running countdown where it stands, and lets a held one go on, its next tick a second
// later. Nothing else is paused: a countdown that is not counting stays as it is.
void TForm1::pauseOrContinue() {
    if (m_paused) {
        m_paused = false;
        Timer1->start();
    } else if (Timer1->isActive()) {
        Timer1->stop();
        m_paused = true;
    } else {
        return;
    }
    announce(vq::ShowChange::Countdown);
}

// + and - lengthen or shorten a countdown that is counting or held. It never goes below one
// second this way: the end, with its sound, comes only from a tick.
void TForm1::changeCountdown(int seconds) {
    if (!Timer1->isActive() && !m_paused)
        return;
    const qint64 count = qint64(vq::strToInt(Label1->text())) + seconds;
    Label1->setText(QString::number(std::clamp<qint64>(count, 1, INT_MAX)));
    announce(vq::ShowChange::Countdown);
}

void TForm1::Timer1Timer() {
    vq::guarded([&] {
        vq::Settings s;
        // Wraps like the platform's 32-bit integers instead of overflowing.
        const auto count = static_cast<std::uint32_t>(vq::strToInt(Label1->text()));
        Label1->setText(QString::number(static_cast<std::int32_t>(count - 1u)));
        if (s.flagOn(Key::shijian_sound))
            vq::playSound(vq::programFolder() + QStringLiteral("di.wav"));
        if (Label1->text() == u"0") {
            Timer1->stop();
            if (s.flagOn(Key::shijian_sound))
                vq::playSound(vq::programFolder() + QStringLiteral("0.wav"));
        }
        announce(vq::ShowChange::Tick);
    });
}

// ---- dragging --------------------------------------------------------------------------------

// One drag state for the four labels: a press on any of them grabs, a release on any of them
// lets go, and a move over a label moves it while grabbed and in every case writes its keys.

void TForm1::dragPress(int x, int y) {
    vq::guarded([&] {
        m_dragging = true;
        m_grabX = x;
        m_grabY = y;
    });
}

void TForm1::dragMove(TGraphicControl* label, int x, int y) {
    vq::guarded([&] {
        if (m_dragging) {
            label->move(saturated(qint64(label->x()) + x - m_grabX), label->y());
            label->move(label->x(), saturated(qint64(label->y()) + y - m_grabY));
        }
        const auto row = std::find_if(m_draggables.begin(), m_draggables.end(),
                                      [&](const Draggable& d) { return d.label == label; });
        if (row == m_draggables.end())
            return;
        vq::Settings s;
        for (const DragWrite& w : row->writes) {
            const int value =
                saturated(qint64(w.edge == Edge::Left ? label->x() : label->y()) + w.offset);
            std::visit([&](auto key) { s.writeInteger(key, value); }, w.key);
        }
    });
}

void TForm1::dragRelease() {
    vq::guarded([&] { m_dragging = false; });
}
