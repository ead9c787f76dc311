#include "app/scoreboard.h"

#include "app/teams.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace vq {

Scoreboard::Scoreboard(const Teams& teams, QWidget* parent) : TCustomLabel(parent), m_teams(teams) {
    setObjectName(QStringLiteral("scoreboard"));
    m_markTimer.setSingleShot(true);
    m_markTimer.setInterval(kMarkMs);
    connect(&m_markTimer, &QTimer::timeout, this, [this] {
        m_marked = -1;
        update();
    });
    connect(&teams, &Teams::changed, this, &Scoreboard::follow);
    refresh();
}

void Scoreboard::setRoom(int width) {
    m_room = std::max(1, width);
    refresh();
}

void Scoreboard::setShown(bool shown) {
    m_shown = shown;
    refresh();
}

void Scoreboard::follow(const ScoreChange& change) {
    const bool oneTeam = change.team >= 0;
    m_marked = oneTeam ? change.team : -1;
    if (oneTeam)
        m_markTimer.start();
    else
        m_markTimer.stop();
    refresh();
}

// The text stands for the board as a whole (what the label measures when it is empty, what a
// screen reader reads); the drawing is the board's own.
void Scoreboard::refresh() {
    QStringList parts;
    for (int i = 0; i < m_teams.count(); ++i)
        parts << QStringLiteral("%1 %2").arg(m_teams.name(i)).arg(m_teams.score(i));
    setText(parts.join(QStringLiteral("  ")));
    setVisible(m_shown && m_teams.any());
    update();
}

// The board's measures, taken once for a whole drawing: every name and score is measured for
// the widest, and each entry's place needs them all.
Scoreboard::Grid Scoreboard::grid() const {
    const QFontMetrics fm(font());
    Grid g;
    g.line = fm.height();
    g.gap = g.line;
    for (const QString& n : m_teams.names())
        g.name = std::max(g.name, fm.horizontalAdvance(n));
    g.name = std::min(g.name, fm.horizontalAdvance(QChar(0x961F)) * kNameChars); // 队
    for (const int s : m_teams.scores())
        g.score = std::max(g.score, fm.horizontalAdvance(QString::number(s)));
    // Name, a blank of half a line's height, the score: the name's and the score's columns
    // line up from row to row.
    g.cell = g.name + g.gap / 2 + g.score;
    const int fit = (m_room + g.gap) / std::max(1, g.cell + g.gap);
    g.columns = std::clamp(fit, 1, std::max(1, m_teams.count()));
    return g;
}

QRect Scoreboard::Grid::entry(int team) const {
    return {(team % columns) * (cell + gap), (team / columns) * line, cell, line};
}

QRect Scoreboard::entryRect(int team) const {
    return grid().entry(team);
}

int Scoreboard::columns() const {
    return grid().columns;
}

QSize Scoreboard::measure() const {
    if (!m_teams.any())
        return {1, 1};
    const Grid g = grid();
    const int rows = (m_teams.count() + g.columns - 1) / g.columns;
    return {g.columns * g.cell + (g.columns - 1) * g.gap, rows * g.line};
}

int Scoreboard::textFlags() const {
    return Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
}

void Scoreboard::paintEvent(QPaintEvent*) {
    const QColor colour = ColorToQColor(fontColor());
    if (!colour.isValid() || !m_teams.any())
        return;
    // The mark stands out from the board's own colour: gold, or red on a golden board.
    const QColor gold(255, 208, 0);
    const bool golden = std::abs(colour.red() - gold.red()) +
                            std::abs(colour.green() - gold.green()) +
                            std::abs(colour.blue() - gold.blue()) <
                        160;
    const QColor mark = golden ? QColor(255, 64, 64) : gold;
    QPainter p(this);
    p.setFont(font());
    const Grid g = grid();
    const QFontMetrics fm(font());
    for (int i = 0; i < m_teams.count(); ++i) {
        const QRect cell = g.entry(i);
        p.setPen(i == m_marked ? mark : colour);
        p.drawText(QRect(cell.left(), cell.top(), g.name, cell.height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   fm.elidedText(m_teams.name(i), Qt::ElideRight, g.name));
        p.drawText(QRect(cell.left() + g.name + g.gap / 2, cell.top(), g.score, cell.height()),
                   Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                   QString::number(m_teams.score(i)));
    }
}

} // namespace vq
