#pragma once

#include <QWidget>

class TImage;

namespace vq {

class Teams;

// The final ranking over the whole main screen: the background picture, and the teams from the
// highest score down, teams of one score sharing a place (1, 1, 3), the winners marked. It reads
// the scores from their owner each time it is painted and follows their changes while it is up.
// The hall's keys put it up (R) and take it away again (R, Escape, or a step key, which then
// does not step); so does a click on it.
class RankingScreen : public QWidget {
    Q_OBJECT
public:
    RankingScreen(const Teams& teams, const TImage& background, QWidget* parent);

    // The mark beside a winner's name.
    static QString winnerMark();

signals:
    void dismissed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const Teams& m_teams;
    const TImage& m_background;
};

} // namespace vq
