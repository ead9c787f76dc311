#pragma once

#include "app/showview.h"
#include "app/tcustomlabel.h"
#include "app/trzlabel.h"
#include "data/questionextras.h"
#include "settings/settings.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <future>
#include <memory>
#include <variant>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QuestionPicture;
class TDataModule2;
class TForm3;
class TForm5;
class TImage;
class TRzColorEdit;
class TRzSpinner;
namespace vq {
class HallKeys;
struct KeptShow;
struct LoadedPicture;
class PictureLoader;
struct TeamSetup;
class RankingScreen;
class Scoreboard;
class ScoreRecord;
struct ScoreChange;
class Teams;
class ShowState;
class TMemo;
class ScreenChoice;
class Settings;
class PicturePrefetch;
} // namespace vq

// The main screen: background, title, countdown, question and answer over it, the next-step
// picture, the right-button menu. Its state lives in its controls (step counter Label3,
// question pool Memo1, countdown Label1).
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The windows set-up relies on; created after the main screen, owned by the start-up.
    TDataModule2* DataModule2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm5* Form5 = nullptr;
    // Where the background may have been decoded ahead; set-up asks it before loading the
    // picture itself (null: it always loads it).
    vq::PicturePrefetch* BackgroundPrefetch = nullptr;

    // Controls, from bottom to top of the stacking order.
    TImage* Image1 = nullptr;
    // The question's picture and, after the reveal, the answer's, in an area of their own
    // under the text items; read on threads of their own by Pictures.
    QuestionPicture* Picture = nullptr;
    vq::PictureLoader* Pictures = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label1 = nullptr;
    TImage* Image3 = nullptr;
    QLabel* Label3 = nullptr;
    TImage* Image4 = nullptr;
    TRzLabel* RzLabel1 = nullptr;
    TRzLabel* RzLabel2 = nullptr;
    QPushButton* Button1 = nullptr;
    vq::TMemo* Memo1 = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    // "自动排版": lays the four text items out to fit the show's screen.
    QAction* N4 = nullptr;
    QAction* N7 = nullptr;
    QAction* N3 = nullptr;
    QAction* N2 = nullptr;
    QAction* N1 = nullptr;

    // For the hall: the show's screen (menu item "投影屏幕") and the clicker and black-out keys.
    vq::ScreenChoice* Screens = nullptr;
    vq::HallKeys* Hall = nullptr;
    // The show kept beside opt.ini, and the menu's offer to take up the last one again.
    vq::ShowState* State = nullptr;
    // The teams and their scores (set up from opt.ini), the board that shows them over the
    // background, the full-screen ranking, and the record of every change beside opt.ini.
    vq::Teams* Scores = nullptr;
    vq::Scoreboard* Board = nullptr;
    vq::RankingScreen* Ranking = nullptr;
    // "队伍设置": in the menu where teams are set up (the console has it always).
    QAction* TeamsAction = nullptr;
    const vq::ScoreRecord& record() const { return *m_record; }

    // Handlers.
    void FormShow();
    void FormResize();
    void N4Click();
    void N7Click();
    void N2Click();
    void N1Click();
    void Image3Click();
    void Button1Click();
    void Image4Click();
    void Timer1Timer();

    // The labels' mouse events, each an entry into the one drag of the four labels.
    using Button = Qt::MouseButton;
    using Buttons = Qt::MouseButtons;
    using Keys = Qt::KeyboardModifiers;
    void Label1MouseDown(Button, Keys, int x, int y) { dragPress(x, y); }
    void Label1MouseMove(Buttons, Keys, int x, int y) { dragMove(Label1, x, y); }
    void Label1MouseUp(Button, Keys, int, int) { dragRelease(); }
    void Label2MouseDown(Button, Keys, int x, int y) { dragPress(x, y); }
    void Label2MouseMove(Buttons, Keys, int x, int y) { dragMove(Label2, x, y); }
    void Label2MouseUp(Button, Keys, int, int) { dragRelease(); }
    void RzLabel1MouseDown(Button, Keys, int x, int y) { dragPress(x, y); }
    void RzLabel1MouseMove(Buttons, Keys, int x, int y) { dragMove(RzLabel1, x, y); }
    void RzLabel1MouseUp(Button, Keys, int, int) { dragRelease(); }
    void RzLabel2MouseDown(Button, Keys, int x, int y) { dragPress(x, y); }
    void RzLabel2MouseMove(Buttons, Keys, int x, int y) { dragMove(RzLabel2, x, y); }
    void RzLabel2MouseUp(Button, Keys, int, int) { dragRelease(); }

    // The exit question's text.
    static QString exitQuestion();

    // The show's state as the controls hold it, and a command run through the same handler as
    // its key.
    vq::ShowView view() const;
    void run(vq::ShowCommand command);
    // A step added to (direction 1) or taken from (-1) a team, 0-based, as digit keys and the
    // console's buttons do; and a team's score typed by the operator.
    void scoreStep(int team, int direction);
    void correctScore(int team, int value);
    bool rankingShown() const;
    // The 队伍设置 dialog, and what it gives back: written to opt.ini and the teams set up anew
    // (the scores kept where the teams are the same ones).
    void teamsClick();
    void applyTeams(const vq::TeamSetup& setup);
    void setRankingShown(bool shown);
    // For the parts of the main screen that change the show's state themselves.
    void announce(vq::ShowChange change) { emit showChanged(change); }
    // Stops the countdown where it stands (a reveal, a step back); it is then no longer paused.
    void stopCountdown();
    // The bank numbers this show drew, in order (换一题's put-aside ones among them).
    const QStringList& drawnNumbers() const { return m_drawn; }
    // What the question up brings beyond its texts (its pictures, time and points).
    const vq::QuestionExtras& extras() const { return m_extras; }
    // The step a team's key or button adds or takes: the question's points where it has them.
    int scoreStepSize() const;
    // Takes up a kept show: its numbers leave the pool, its last question comes back in its
    // phase with the countdown stopped, and the step counter goes on from where it stood.
    void resume(const vq::KeptShow& kept);

signals:
    // Once for each change of the show's state, after the controls show it.
    void showChanged(vq::ShowChange change);
    // A line for the operator (the host's console), never shown on the hall's screen.
    void noticed(const QString& text);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void prepareBackingStore();
    void createStepControls();
    void createMenu();
    void connectHandlers();
    void connectDragging();
    static void placeFromSettings(const vq::Settings& s, TGraphicControl* label,
                                  vq::IntegerKey left, vq::IntegerKey top);
    static void tickFromFlag(const vq::Settings& s, vq::FlagKey flag, QCheckBox* box);
    static void prepareCountdownSound(const vq::Settings& s);
    void prepareClipSound();
    // A label whose colour and size the settings dialog edits, with its keys and dialog controls.
    struct LabelStyle {
        TCustomLabel* label;
        vq::IntegerKey color;
        vq::IntegerKey size;
        TRzColorEdit* colorEdit;
        TRzSpinner* sizeSpinner;
    };
    std::array<LabelStyle, 4> labelStyles() const;
    void step();
    int stepCounter() const;
    void pauseOrContinue();
    void changeCountdown(int seconds);
    void drawAnother();
    void dragPress(int x, int y);
    void dragMove(TGraphicControl* control, int x, int y);
    void dragRelease();
    void popupMenu(const QPoint& globalPos);
    void layOutForScreen();
    void placeQuestionAndAnswer(const vq::Settings& s);
    void beginKeptShow();
    void setUpTeams(const vq::Settings& s);
    void placeScoreboard();
    void offerTeamsAction();
    void recordScore(const vq::ScoreChange& change);
    int countdownLength(const vq::Settings& s) const;
    void showExtras(const vq::QuestionExtras& extras, bool playClip = true);
    QRect pictureArea() const;
    QRect questionRoom(QPoint at, int width) const;
    void pictureLoaded(const vq::LoadedPicture& loaded);
    void followPicture();
    void startClip();
    void stopClip();

    bool m_setUp = false;
    // The bank's number of the question up, and how many numbers the pool was filled with.
    QString m_number;
    int m_poolSize = 0;
    QStringList m_drawn;
    vq::QuestionExtras m_extras;
    // The readings of the question's pictures still awaited (0: none).
    int m_pictureTicket = 0;
    int m_answerPictureTicket = 0;
    // The question's clip was started and no step has stopped it since.
    bool m_clipStarted = false;
    // A countdown held by P: the timer is stopped, the count stays.
    bool m_paused = false;
    // The backing store's pages being faulted in during set-up.
    std::future<void> m_backingStorePages;
    enum class Edge { Left, Top };
    // A key a move over a draggable label writes: the label's left or top edge, plus an offset.
    struct DragWrite {
        std::variant<vq::IntegerKey, vq::OptionalIntegerKey> key;
        Edge edge;
        int offset = 0;
    };
    struct Draggable {
        TGraphicControl* label = nullptr;
        std::vector<DragWrite> writes;
    };
    std::array<Draggable, 6> m_draggables;
    std::unique_ptr<vq::ScoreRecord> m_record;
    // One drag state shared by the four labels.
    bool m_dragging = false;
    int m_grabX = 0;
    int m_grabY = 0;
};
