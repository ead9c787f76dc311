#include "app/showstate.h"

#include "app/backgroundwriter.h"
#include "app/scorerecord.h"
#include "app/teams.h"
#include "app/tform1.h"
#include "platform/files.h"
#include "platform/messages.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <cstdio>

namespace vq {

namespace {

// Far above what any bank's numbers fill (ten thousand questions take some 60 KB).
constexpr qint64 kMaxStateFile = 16 << 20;

std::optional<KeptShow> readKeptShow(const QString& path) {
    QByteArray text;
    bool whole = false;
    if (readRegularFile(path, kMaxStateFile, &text, &whole) != ReadResult::Ok || !whole)
        return std::nullopt;
    return parseKeptShow(text);
}

} // namespace

ShowState::ShowState(TForm1& form, QMenu& menu, QString statePath)
    : QObject(&form), m_form(form), m_menu(menu), m_teams(*form.Scores), m_record(form.record()),
      m_path(std::move(statePath)), m_trace(qEnvironmentVariableIsSet("VELQUO_SHOW_TRACE")) {
    m_writer = new BackgroundWriter(m_path, {}, {}, this);
    connect(m_writer, &BackgroundWriter::done, this, &ShowState::written);
    connect(&form, &TForm1::showChanged, this, &ShowState::follow);
    connect(&m_teams, &Teams::changed, this, &ShowState::followScores);
}

void ShowState::flush() {
    m_writer->flush();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

QString ShowState::writeFailedMessage() {
    return QStringLiteral("无法保存本场的进度（上一场.ini），磁盘可能已满。已保存的进度保持不变，"
                          "节目照常进行。");
}

QString ShowState::resumeText(int drawn) {
    return QStringLiteral("继续上一场（已出 %1 题）").arg(drawn);
}

void ShowState::begin(const QString& bankPath) {
    m_bank = bankStampOf(bankPath);
    if (!m_bank.valid())
        return;
    std::optional<KeptShow> kept = readKeptShow(m_path);
    if (!kept || kept->bank != m_bank || kept->drawn.isEmpty())
        return;
    m_offer = std::move(kept);
    m_resumeAction = new QAction(resumeText(int(m_offer->drawn.size())), &m_menu);
    m_newShowAction = new QAction(QStringLiteral("新的一场"), &m_menu);
    m_separator = new QAction(&m_menu);
    m_separator->setSeparator(true);
    // First in the menu: the operator's first choice after a restart.
    m_menu.insertActions(m_menu.actions().value(0), {m_resumeAction, m_newShowAction, m_separator});
    connect(m_resumeAction, &QAction::triggered, this, &ShowState::resume);
    connect(m_newShowAction, &QAction::triggered, this, &ShowState::startNew);
    trace(QStringLiteral("offer ") + m_resumeAction->text());
}

void ShowState::follow(ShowChange change) {
    switch (change) {
    case ShowChange::Draw:
        // The new show has begun without the kept one: the file becomes this show's.
        withdrawOffer();
        write(QStringLiteral("drawn ") + m_form.view().number);
        return;
    case ShowChange::Step:
    case ShowChange::StepBack:
        write();
        return;
    case ShowChange::Tick:
    case ShowChange::Countdown:
    case ShowChange::BlackOut:
    case ShowChange::Resume:
        return;
    }
}

// A kept show on offer is not overwritten: scores given before the operator chooses are kept
// from the next write on.
void ShowState::followScores(const ScoreChange& change) {
    if (m_offer || change.kind == ScoreChangeKind::Teams)
        return;
    write(QStringLiteral("scores ") + [&] {
        QStringList s;
        for (const int v : m_teams.scores())
            s << QString::number(v);
        return s.join(u',');
    }());
}

void ShowState::write(const QString& traceLine) {
    if (!m_bank.valid())
        return;
    const ShowView view = m_form.view();
    KeptShow show;
    show.drawn = m_form.drawnNumbers();
    show.number = view.number;
    show.counter = view.counter;
    show.bank = m_bank;
    if (m_teams.any())
        show.scores =
            KeptScores{m_teams.names(), m_teams.scores(), m_teams.undoList(), m_record.size()};
    show.otherSections = m_otherSections;
    const quint64 job = m_writer->write(keptShowText(show));
    if (m_trace && !traceLine.isEmpty())
        m_traceAfter.append({job, traceLine});
}

void ShowState::written(quint64 upTo, bool ok) {
    while (!m_traceAfter.isEmpty() && m_traceAfter.first().first <= upTo)
        trace(m_traceAfter.takeFirst().second);
    if (ok || m_toldFailure)
        return;
    // The old file stays as it was; the show goes on, and the operator hears of it once.
    m_toldFailure = true;
    showMessageBox(writeFailedMessage());
}

void ShowState::resume() {
    if (!m_offer)
        return;
    const KeptShow kept = *m_offer;
    withdrawOffer();
    m_otherSections = kept.otherSections;
    m_form.resume(kept);
    if (kept.scores)
        restoreScores(*kept.scores);
    trace(QStringLiteral("resumed %1").arg(kept.drawn.size()));
}

// The kept scores where they are the teams set up now (opt.ini may have changed since), then
// each change the record holds beyond them: the record is appended before the state file is
// written, in the background, and a kill may come between.
void ShowState::restoreScores(const KeptScores& kept) {
    if (kept.names != m_teams.names())
        return;
    QList<int> scores = kept.scores;
    QList<ScoreStep> undo = kept.undo;
    for (const ScoreLine& line : m_record.linesFrom(kept.recordSize)) {
        const int team = int(kept.names.indexOf(line.team));
        if (team < 0)
            continue;
        scores[team] = line.score;
        if (line.what == QStringLiteral("撤销") && !undo.isEmpty())
            undo.removeLast();
        else
            undo.append({team, line.change});
    }
    m_teams.restore(scores, undo);
}

void ShowState::startNew() {
    withdrawOffer();
    m_teams.reset();
    m_otherSections.clear();
    m_writer->remove();
}

void ShowState::withdrawOffer() {
    if (!m_offer)
        return;
    m_offer.reset();
    for (QAction** action : {&m_resumeAction, &m_newShowAction, &m_separator}) {
        m_menu.removeAction(*action);
        // Perhaps still inside its own triggered signal.
        (*action)->deleteLater();
        *action = nullptr;
    }
}

void ShowState::trace(const QString& line) const {
    if (!m_trace)
        return;
    std::fputs((line + u'\n').toUtf8().constData(), stderr);
    std::fflush(stderr);
}

} // namespace vq
