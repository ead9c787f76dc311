// The show kept beside opt.ini: written at each step, offered after a restart on the same bank,
// taken up again in its phase or thrown away.
#include "presenter_fixture.h"

#include "app/keptshow.h"
#include "app/showstate.h"
#include "controls/memo.h"
#include "data/questionpool.h"
#include "platform/files_testing.h"
#include "support/small_disk.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

#include <QThread>

#include <cerrno>
#include <condition_variable>
#include <mutex>

namespace vq::test {
namespace {

class ShowStateTest : public Presenter {
protected:
    void TearDown() override {
        failNextWriteAt(WriteStep::None, 0);
        onReplacingWriteClosed({});
    }

    // An installation whose bank holds `questions` questions, numbered from 1.
    void startWith(int questions, const QStringList& changes = {"shijian=9"}) {
        installFiles(settingsWith(changes));
        writeBank(rows(questions));
        start();
    }
    static QList<QPair<QString, QString>> rows(int questions, const QString& tag = {}) {
        QList<QPair<QString, QString>> out;
        for (int i = 1; i <= questions; ++i)
            out.append({QStringLiteral("question %1%2").arg(i).arg(tag),
                        QStringLiteral("answer %1").arg(i)});
        return out;
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i)
            form->run(ShowCommand::Step);
    }
    QString statePath() const { return inst.file(QStringLiteral("上一场.ini")); }
    // The file as the show left it: what was asked to be kept so far is written first.
    QByteArray stateFile() const {
        settle();
        return inst.readFile("上一场.ini");
    }
    bool stateExists() const {
        settle();
        return QFile::exists(statePath());
    }
    void settle() const {
        if (form)
            form->State->flush();
    }
    std::optional<KeptShow> kept() const { return parseKeptShow(stateFile()); }
    QStringList pool() const { return form->Memo1->lines(); }
    QStringList menuTexts() const {
        QStringList out;
        for (const QAction* a : form->PopupMenu1->actions())
            if (!a->isSeparator())
                out << a->text();
        return out;
    }
    // The program ended: its windows go in reverse order of creation.
    void stop() {
        form5.reset();
        form3.reset();
        module.reset();
        form.reset();
    }
    bool answerShown() const { return form->RzLabel2->isVisibleTo(form.get()); }
    bool countdownShown() const { return form->Label1->isVisibleTo(form.get()); }
};

TEST_F(ShowStateTest, EachDrawStepAndStepBackIsWrittenButNoTick) {
    startWith(5);
    EXPECT_FALSE(stateExists()) << "nothing is written before the first draw";
    steps(1);
    std::optional<KeptShow> k = kept();
    ASSERT_TRUE(k);
    EXPECT_EQ(k->drawn, QStringList{form->view().number});
    EXPECT_EQ(k->number, form->view().number);
    EXPECT_EQ(k->counter, 1);
    EXPECT_TRUE(k->bank.valid());

    steps(1); // the countdown starts
    EXPECT_EQ(kept()->counter, 2);
    QFile::remove(statePath());
    form->Timer1Timer();
    form->run(ShowCommand::PauseOrContinue);
    form->run(ShowCommand::AddTime);
    EXPECT_FALSE(stateExists()) << "ticks and countdown changes write nothing";

    steps(1); // the reveal
    EXPECT_EQ(kept()->counter, 3);
    form->run(ShowCommand::StepBack);
    EXPECT_EQ(kept()->counter, 2);
    steps(2); // reveal again, draw the second
    form->run(ShowCommand::DrawAnother);
    k = kept();
    ASSERT_EQ(k->drawn.size(), 3) << "换一题's put-aside question counts as drawn";
    EXPECT_EQ(k->drawn, form->drawnNumbers());
    EXPECT_EQ(k->number, k->drawn.last());
    EXPECT_EQ(k->counter, 4);
    EXPECT_EQ(QSet<QString>(k->drawn.begin(), k->drawn.end()).size(), 3);
}

// A disk that hangs (a USB stick's flush, a network folder) holds up no step: the show's
// thread never writes, and the file catches up with the latest step once the disk does.
namespace hung {
std::mutex mutex;
std::condition_variable changed;
bool released = false;
int writesOnTheShowsThread = 0;
int writesHeld = 0;
void hold() {
    std::unique_lock lock(mutex);
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
        ++writesOnTheShowsThread;
        return;
    }
    ++writesHeld;
    changed.wait(lock, [] { return released; });
}
} // namespace hung

TEST_F(ShowStateTest, AHungDiskHoldsUpNoStepAndTheFileCatchesUp) {
    startWith(5);
    steps(1);
    const QByteArray first = stateFile();
    hung::released = false;
    hung::writesOnTheShowsThread = hung::writesHeld = 0;
    onReplacingWriteClosed(&hung::hold);
    steps(5); // the countdown, the reveal, the second question, its countdown, its reveal
    form->run(ShowCommand::StepBack);
    EXPECT_EQ(counter(), 5);
    EXPECT_EQ(inst.readFile("上一场.ini"), first) << "the disk has not taken a write yet";
    {
        const std::lock_guard lock(hung::mutex);
        hung::released = true;
        EXPECT_EQ(hung::writesOnTheShowsThread, 0);
    }
    hung::changed.notify_all();
    const std::optional<KeptShow> k = kept();
    onReplacingWriteClosed({});
    ASSERT_TRUE(k);
    EXPECT_EQ(k->counter, 5);
    EXPECT_EQ(k->drawn, form->drawnNumbers());
    EXPECT_LE(hung::writesHeld, 2) << "steps while the disk hung are one write";
}

TEST_F(ShowStateTest, AFailingWriteKeepsTheOldFileAndTellsOnce) {
    startWith(5);
    steps(1);
    const QByteArray before = stateFile();
    for (const WriteStep step : {WriteStep::Write, WriteStep::Flush, WriteStep::Rename}) {
        failNextWriteAt(step, ENOSPC);
        steps(1);
        EXPECT_EQ(stateFile(), before) << int(step);
    }
    EXPECT_EQ(msgs.messagesShown(), QStringList{ShowState::writeFailedMessage()});
    EXPECT_EQ(QDir(inst.folder()).entryList({"*.tmp"}, QDir::Files), QStringList());
    // Room again: the next step is written, and still nothing more is said.
    steps(1);
    EXPECT_EQ(kept()->counter, 5);
    EXPECT_EQ(msgs.messagesShown().size(), 1);
}

TEST_F(ShowStateTest, AFullDiskKeepsTheOldFile) {
    SmallDisk disk(64);
    if (!disk.mounted())
        GTEST_SKIP() << "no small disk: " << disk.why().toStdString();
    startWith(5);
    // A second keeper of the same show, on the small disk.
    ShowState onDisk(*form, *form->PopupMenu1, disk.file(QStringLiteral("上一场.ini")));
    onDisk.begin(inst.file("db.DLL"));
    steps(1);
    onDisk.flush();
    const QByteArray before = [&] {
        QFile f(onDisk.path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(before.isEmpty());
    ASSERT_TRUE(disk.fill());
    steps(2);
    onDisk.flush();
    QFile f(onDisk.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(msgs.messagesShown(), QStringList{ShowState::writeFailedMessage()});
}

TEST_F(ShowStateTest, ARestartOffersTheKeptShowAndChangesNothingOnScreen) {
    startWith(10);
    steps(9); // three questions, the third's answer up
    restart();
    ASSERT_TRUE(form->State->offered());
    EXPECT_EQ(menuTexts().mid(0, 3),
              (QStringList{"继续上一场（已出 3 题）", "新的一场", "自动排版"}));
    EXPECT_EQ(form->State->resumeAction()->text(), QStringLiteral("继续上一场（已出 3 题）"));
    EXPECT_EQ(counter(), 0);
    EXPECT_EQ(pool().size(), 10);
    EXPECT_TRUE(form->RzLabel1->text().isEmpty());
    EXPECT_FALSE(answerShown());
}

TEST_F(ShowStateTest, ResumeTakesOutTheDrawnNumbersAndShowsTheQuestionInItsPhase) {
    struct Case {
        int steps;
        bool answer;
        bool countdown;
    };
    for (const Case c : {Case{7, false, false}, Case{8, false, true}, Case{9, true, false}}) {
        SCOPED_TRACE(c.steps);
        startWith(10);
        steps(c.steps);
        form->Timer1Timer(); // a countdown running at "8" is kept at its full length
        const QStringList drawn = form->drawnNumbers();
        const QString question = form->RzLabel1->text();
        const QString answer = form->RzLabel2->text();
        restart();
        QSignalSpy changes(form.get(), &TForm1::showChanged);
        form->State->resumeAction()->trigger();

        EXPECT_FALSE(form->State->offered());
        EXPECT_EQ(menuTexts().first(), QStringLiteral("自动排版")) << "the offer goes";
        ASSERT_EQ(changes.size(), 1);
        EXPECT_EQ(changes[0][0].value<ShowChange>(), ShowChange::Resume);
        EXPECT_EQ(pool().size(), 7);
        for (const QString& n : drawn)
            EXPECT_FALSE(pool().contains(n)) << n.toStdString();
        const ShowView v = form->view();
        EXPECT_EQ(v.drawn, 3);
        EXPECT_EQ(v.counter, c.steps);
        EXPECT_EQ(v.number, drawn.last());
        EXPECT_EQ(v.question, question);
        EXPECT_EQ(form->RzLabel2->text(), answer);
        EXPECT_EQ(answerShown(), c.answer);
        EXPECT_EQ(countdownShown(), c.countdown);
        EXPECT_FALSE(form->Timer1->isActive());
        if (c.countdown) {
            EXPECT_EQ(v.countdownState, CountdownState::Stopped);
            EXPECT_EQ(form->Label1->text(), QStringLiteral("9"));
        }
        // The next step does what it would have done: the countdown, the reveal, the draw.
        steps(1);
        EXPECT_EQ(form->Timer1->isActive(), c.steps % 3 == 1);
        EXPECT_EQ(answerShown(), c.steps % 3 == 2);
        EXPECT_EQ(form->view().drawn, c.steps % 3 == 0 ? 4 : 3);
        // The rest of the bank, every number once, none of the kept ones again.
        QStringList all = form->drawnNumbers();
        while (form->view().left > 0) {
            steps(3);
            all = form->drawnNumbers();
        }
        EXPECT_EQ(QSet<QString>(all.begin(), all.end()).size(), 10);
        EXPECT_EQ(all.mid(0, 3), drawn);
        stop();
        QFile::remove(statePath());
    }
}

TEST_F(ShowStateTest, TheFirstDrawWithoutResumingMakesTheFileTheNewShows) {
    startWith(10);
    steps(6);
    restart();
    ASSERT_TRUE(form->State->offered());
    steps(1);
    EXPECT_FALSE(form->State->offered());
    EXPECT_EQ(menuTexts().first(), QStringLiteral("自动排版"));
    EXPECT_EQ(kept()->drawn, form->drawnNumbers());
    EXPECT_EQ(kept()->drawn.size(), 1);
    restart();
    EXPECT_EQ(form->State->resumeAction()->text(), QStringLiteral("继续上一场（已出 1 题）"));
}

TEST_F(ShowStateTest, ANewShowClearsTheKeptOne) {
    startWith(10);
    steps(4);
    restart();
    form->State->newShowAction()->trigger();
    EXPECT_FALSE(form->State->offered());
    EXPECT_FALSE(menuTexts().contains(QStringLiteral("新的一场")));
    EXPECT_FALSE(stateExists());
    EXPECT_EQ(pool().size(), 10);
    restart();
    EXPECT_FALSE(form->State->offered());
}

TEST_F(ShowStateTest, AChangedBankOrABrokenFileOffersNothing) {
    startWith(10);
    steps(3);
    const QByteArray good = stateFile();
    stop();
    // The same numbers, another text: the bank was edited.
    writeBank(rows(10, QStringLiteral("!")));
    restart();
    EXPECT_FALSE(form->State->offered());
    EXPECT_EQ(menuTexts().first(), QStringLiteral("自动排版"));

    stop();
    writeBank(rows(10));
    inst.writeFile("上一场.ini", good);
    restart();
    EXPECT_FALSE(form->State->offered()) << "the same bytes written again are another file";

    // A file that is not what this program writes.
    const std::optional<KeptShow> k = parseKeptShow(good);
    ASSERT_TRUE(k);
    for (const QByteArray& broken :
         {QByteArray(), good.left(good.size() / 2), QByteArray(good).replace("count=1", "count=2"),
          QByteArray(good).replace("version=1", "version=9"),
          QByteArray(good).replace("number=" + k->number.toLatin1(), "number=999")})
        EXPECT_FALSE(parseKeptShow(broken)) << broken.constData();
}

TEST_F(ShowStateTest, ARunOutPoolAndTheSettingsSaveLeaveAShowToResume) {
    startWith(2);
    steps(7); // both questions, then the empty-pool message
    EXPECT_EQ(msgs.messagesShown(), QStringList{kEmptyBankMessage});
    restart();
    EXPECT_EQ(form->State->resumeAction()->text(), QStringLiteral("继续上一场（已出 2 题）"));
    form->State->resumeAction()->trigger();
    EXPECT_TRUE(pool().isEmpty());
    EXPECT_FALSE(form->RzLabel1->text().isEmpty()) << "the last question stays up";

    // The settings dialog's save ends the program; what was written stands.
    steps(1);
    form3->Button1Click();
    restart();
    EXPECT_EQ(form->State->resumeAction()->text(), QStringLiteral("继续上一场（已出 2 题）"));
}

TEST_F(ShowStateTest, OtherSectionsOfAResumedShowStayAndGoWithANewShow) {
    startWith(10);
    steps(1);
    const QByteArray withScores = stateFile() + "[scores]\r\nteam1=3\r\n";
    stop();
    inst.writeFile("上一场.ini", withScores);
    restart();
    form->State->resumeAction()->trigger();
    steps(2);
    EXPECT_EQ(kept()->otherSections, QByteArray("[scores]\r\nteam1=3\r\n"));
    EXPECT_EQ(kept()->counter, 3);
    restart();
    steps(1);
    EXPECT_TRUE(kept()->otherSections.isEmpty());
}

} // namespace
} // namespace vq::test
