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

QString Scoreboard::shownName(int team) const {
    const QFontMetrics fm(font());
    return fm.elidedText(m_teams.name(team), Qt::ElideRight, nameWidth());
}

int Scoreboard::nameWidth() const {
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& n : m_teams.names())
        widest = std::max(widest, fm.horizontalAdvance(n));
    return std::min(widest, fm.horizontalAdvance(QChar(0x961F)) * kNameChars); // 队
}

int Scoreboard::scoreWidth() const {
    const QFontMetrics fm(font());
    int widest = 0;
    for (const int s : m_teams.scores())
        widest = std::max(widest, fm.horizontalAdvance(QString::number(s)));
    return widest;
}

int Scoreboard::gap() const {
    return QFontMetrics(font()).height();
}

// Name, a blank of half a line's height, the score: the name's and the score's columns line up
// from row to row.
int Scoreboard::cellWidth() const {
    return nameWidth() + gap() / 2 + scoreWidth();
}

int Scoreboard::columns() const {
    const int n = std::max(1, m_teams.count());
    const int cell = cellWidth();
    const int fit = (m_room + gap()) / std::max(1, cell + gap());
    return std::clamp(fit, 1, n);
}

QRect Scoreboard::entryRect(int team) const {
    const int cols = columns();
    const int line = QFontMetrics(font()).height();
    return {(team % cols) * (cellWidth() + gap()), (team / cols) * line, cellWidth(), line};
}

QSize Scoreboard::measure() const {
    if (!m_teams.any())
        return {1, 1};
    const int cols = columns();
    const int rows = (m_teams.count() + cols - 1) / cols;
    return {cols * cellWidth() + (cols - 1) * gap(), rows * QFontMetrics(font()).height()};
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
    const int half = gap() / 2;
    for (int i = 0; i < m_teams.count(); ++i) {
        const QRect cell = entryRect(i);
        p.setPen(i == m_marked ? mark : colour);
        p.drawText(QRect(cell.left(), cell.top(), nameWidth(), cell.height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownName(i));
        p.drawText(QRect(cell.left() + nameWidth() + half, cell.top(), scoreWidth(), cell.height()),
                   Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                   QString::number(m_teams.score(i)));
    }
}

} // namespace vq
