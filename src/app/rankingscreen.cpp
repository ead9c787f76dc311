#include "app/rankingscreen.h"

#include "app/teams.h"
#include "app/timage.h"
#include "controls/application.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vq {

RankingScreen::RankingScreen(const Teams& teams, const TImage& background, QWidget* parent)
    : QWidget(parent), m_teams(teams), m_background(background) {
    setObjectName(QStringLiteral("ranking"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    connect(&teams, &Teams::changed, this, qOverload<>(&QWidget::update));
}

QString RankingScreen::winnerMark() {
    return QStringLiteral("★");
}

void RankingScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_background.hasPicture())
        p.drawImage(rect(), m_background.picture());
    else
        p.fillRect(rect(), Qt::black);
    const QList<RankedTeam> rows = ranking(m_teams.scores());
    if (rows.isEmpty())
        return;
    // Rows as tall as twelve of them and the heading fit the screen, at most a tenth of it.
    const int line = std::clamp(height() / (int(rows.size()) + 3), 12, height() / 10);
    QFont f = installedFont(QStringLiteral("黑体"));
    f.setBold(true);
    f.setPixelSize(line * 7 / 10);
    p.setFont(f);
    const QFontMetrics fm(f);
    const int placeWidth = fm.horizontalAdvance(QStringLiteral("第 00 名"));
    const int scoreWidth = fm.horizontalAdvance(QStringLiteral("-0000000000"));
    const int nameWidth = std::min(fm.horizontalAdvance(QChar(0x961F)) * 12,
                                   width() - placeWidth - scoreWidth - 6 * line);
    const int left = std::max(line, (width() - placeWidth - nameWidth - scoreWidth - 3 * line) / 2);
    const QColor white(255, 255, 255);
    const QColor gold(255, 208, 0);

    p.setPen(white);
    p.drawText(QRect(0, line / 2, width(), line), Qt::AlignCenter, QStringLiteral("比赛排名"));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const RankedTeam& r = rows[i];
        const int top = (int(i) + 2) * line;
        const bool winner = r.place == 1;
        p.setPen(winner ? gold : white);
        int x = left;
        p.drawText(QRect(x, top, placeWidth, line), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(r.place));
        x += placeWidth + line;
        p.drawText(QRect(x, top, nameWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                   fm.elidedText(m_teams.name(r.team), Qt::ElideRight, nameWidth));
        x += nameWidth + line;
        p.drawText(QRect(x, top, scoreWidth, line), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(r.score));
        x += scoreWidth + line;
        if (winner)
            p.drawText(QRect(x, top, 2 * line, line), Qt::AlignLeft | Qt::AlignVCenter,
                       winnerMark());
    }
}

void RankingScreen::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit dismissed();
}

} // namespace vq
