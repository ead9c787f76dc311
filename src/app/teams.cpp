#include "app/teams.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace vq {

void Teams::setUp(const QStringList& names, int startScore, int step) {
    m_names = names.mid(0, kMaxTeams);
    m_startScore = startScore;
    m_step = step;
    m_scores = QList<int>(m_names.size(), startScore);
    m_undo.clear();
    emit changed({ScoreChangeKind::Teams, -1, 0});
}

bool Teams::apply(int team, qint64 delta, ScoreChangeKind kind) {
    if (team < 0 || team >= count())
        return false;
    const qint64 next = std::clamp<qint64>(m_scores[team] + delta, INT_MIN, INT_MAX);
    const int change = int(next - m_scores[team]);
    if (change == 0)
        return false;
    m_scores[team] = int(next);
    if (kind == ScoreChangeKind::Undo)
        m_undo.removeLast();
    else
        m_undo.append({team, change});
    emit changed({kind, team, change});
    return true;
}

bool Teams::add(int team, int delta) {
    return apply(team, delta, ScoreChangeKind::Add);
}

bool Teams::correct(int team, int value) {
    if (team < 0 || team >= count())
        return false;
    return apply(team, qint64(value) - m_scores[team], ScoreChangeKind::Correct);
}

bool Teams::undo() {
    if (m_undo.isEmpty())
        return false;
    const ScoreStep last = m_undo.last();
    if (!apply(last.team, -qint64(last.delta), ScoreChangeKind::Undo)) {
        // A change clamped at the int's end cannot be taken back exactly; it is dropped.
        m_undo.removeLast();
        return false;
    }
    return true;
}

bool Teams::restore(const QList<int>& scores, const QList<ScoreStep>& undoList) {
    if (scores.size() != count())
        return false;
    for (const ScoreStep& s : undoList)
        if (s.team < 0 || s.team >= count())
            return false;
    m_scores = scores;
    m_undo = undoList;
    emit changed({ScoreChangeKind::Restore, -1, 0});
    return true;
}

void Teams::reset() {
    if (!any())
        return;
    m_scores = QList<int>(m_names.size(), m_startScore);
    m_undo.clear();
    emit changed({ScoreChangeKind::Teams, -1, 0});
}

void Teams::setRules(int startScore, int step) {
    m_startScore = startScore;
    m_step = step;
}

QList<RankedTeam> ranking(const QList<int>& scores) {
    QList<int> order(scores.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return scores[a] > scores[b]; });
    QList<RankedTeam> out;
    for (qsizetype i = 0; i < order.size(); ++i) {
        const int team = order[i];
        const int place = i > 0 && scores[team] == out.last().score ? out.last().place : int(i) + 1;
        out.append({place, team, scores[team]});
    }
    return out;
}

} // namespace vq
