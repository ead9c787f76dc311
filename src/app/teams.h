#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace vq {

// One change of one team's score, as the undo list keeps it.
struct ScoreStep {
    int team = 0; // 0-based
    int delta = 0;
    friend bool operator==(const ScoreStep&, const ScoreStep&) = default;
};

// What a change of the scores was, for those who follow them.
enum class ScoreChangeKind {
    Teams,   // the teams were set up anew, every one at the start score
    Add,     // a step added to or taken from a team (a key, a console button)
    Correct, // the operator typed a team's score
    Undo,    // the last change taken back
    Restore, // the scores of a kept show taken up again
};

struct ScoreChange {
    ScoreChangeKind kind = ScoreChangeKind::Teams;
    int team = -1; // the team changed; -1 for Teams and Restore
    int delta = 0;
};

// The teams of the show and their scores: the one owner of the scores, which announces each
// change once. The scoreboard, the ranking, the host's console, the show state and the record
// follow it and keep no copy. With no team set up every change is refused and nothing is
// announced, so the show goes as it does without teams.
class Teams : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxTeams = 12;
    static constexpr int kDefaultStartScore = 100;
    static constexpr int kDefaultStep = 10;

    explicit Teams(QObject* parent = nullptr) : QObject(parent) {}

    // The teams by name (at most kMaxTeams are taken), all at `startScore`; the undo list is
    // emptied.
    void setUp(const QStringList& names, int startScore, int step);

    int count() const { return int(m_names.size()); }
    bool any() const { return !m_names.isEmpty(); }
    const QStringList& names() const { return m_names; }
    QString name(int team) const { return m_names.value(team); }
    int score(int team) const { return m_scores.value(team); }
    const QList<int>& scores() const { return m_scores; }
    int startScore() const { return m_startScore; }
    int step() const { return m_step; }
    const QList<ScoreStep>& undoList() const { return m_undo; }
    bool canUndo() const { return !m_undo.isEmpty(); }

    // A team's score changed by `delta`; false (and nothing announced) for a team that is not
    // there or a change of nothing. Scores stay within what an int holds.
    bool add(int team, int delta);
    // A team's score set to `value`, undoable like any change.
    bool correct(int team, int value);
    // Takes the last change back; false when there is none.
    bool undo();
    // The scores and undo list of a kept show, when they fit the teams set up now.
    bool restore(const QList<int>& scores, const QList<ScoreStep>& undoList);
    // Every team back at the start score, the undo list empty (a new show).
    void reset();
    // A new start score (for the next show) and step; the scores stay as they are.
    void setRules(int startScore, int step);

signals:
    void changed(vq::ScoreChange change);

private:
    bool apply(int team, qint64 delta, ScoreChangeKind kind);

    QStringList m_names;
    QList<int> m_scores;
    QList<ScoreStep> m_undo;
    int m_startScore = kDefaultStartScore;
    int m_step = kDefaultStep;
};

// A team's place in the ranking: 1-based, teams of one score sharing it (1, 1, 3).
struct RankedTeam {
    int place = 0;
    int team = 0;
    int score = 0;
};
// The teams from the highest score down, teams of one score in their own order.
QList<RankedTeam> ranking(const QList<int>& scores);

} // namespace vq
