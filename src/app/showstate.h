#pragma once

#include "app/keptshow.h"
#include "app/showview.h"

#include <QObject>
#include <QString>

#include <QList>
#include <QPair>

#include <optional>

class QAction;
class QMenu;
class TForm1;

namespace vq {

class BackgroundWriter;
class ScoreRecord;
struct ScoreChange;
class Teams;

// Keeps the running show in a file beside opt.ini, so that a restart after a crash, a power cut
// or the settings dialog's save can take it up again. The file is rewritten, all or nothing, at
// each draw, step and step back, from what the main screen shows (TForm1::view()) and the
// numbers it drew; nothing of the show is copied here to drift from it. The writing itself is
// done beside the show (BackgroundWriter): a step never waits for the disk.
// At set-up a kept show that fits the bank is offered in the right-button menu: "继续上一场（已
// 出 N 题）" takes it up again, "新的一场" throws it away. The offer goes with either choice, and
// when the new show draws its first question instead: the file is then the new show's.
// The teams' scores are part of the show: written at each change, taken up with it (with the
// changes the record file holds beyond what the state file had caught up with, as a kill can
// come between the two), and back at the start score for 新的一场.
class ShowState : public QObject {
    Q_OBJECT
public:
    // `statePath`: the file; `menu`: where the offer goes, at the top. The teams' scores and
    // the record of their changes are the main screen's (TForm1::Scores, TForm1::record()).
    ShowState(TForm1& form, QMenu& menu, QString statePath);

    // Once the pool is filled from the bank at `bankPath`: a kept show drawn from this very bank
    // is offered.
    void begin(const QString& bankPath);

    bool offered() const { return m_offer.has_value(); }
    // The offer's entries while it stands, else nullptr.
    QAction* resumeAction() const { return m_resumeAction; }
    QAction* newShowAction() const { return m_newShowAction; }
    const QString& path() const { return m_path; }
    // Returns once what the show has asked to be kept so far is in the file and told.
    void flush();

    // The operator's message when the file cannot be written; shown once a run.
    static QString writeFailedMessage();
    // The menu entry for a kept show of `drawn` questions.
    static QString resumeText(int drawn);

private:
    void follow(ShowChange change);
    void followScores(const ScoreChange& change);
    void restoreScores(const KeptScores& kept);
    void write(const QString& traceLine = {});
    void written(quint64 upTo, bool ok);
    void resume();
    void startNew();
    void withdrawOffer();
    void trace(const QString& line) const;

    TForm1& m_form;
    QMenu& m_menu;
    Teams& m_teams;
    const ScoreRecord& m_record;
    QString m_path;
    BankStamp m_bank;
    // The kept show on offer.
    std::optional<KeptShow> m_offer;
    QAction* m_resumeAction = nullptr;
    QAction* m_newShowAction = nullptr;
    QAction* m_separator = nullptr;
    BackgroundWriter* m_writer = nullptr;
    // The sections others keep in the file for this show, carried over by each write.
    QByteArray m_otherSections;
    // Trace lines told once their job is in the file.
    QList<QPair<quint64, QString>> m_traceAfter;
    bool m_toldFailure = false;
    // VELQUO_SHOW_TRACE set: each draw, offer and resume is told on the error output, the
    // end-to-end tests' window into a run they kill.
    bool m_trace = false;
};

} // namespace vq
