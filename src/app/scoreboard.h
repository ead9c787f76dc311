#pragma once

#include "app/tcustomlabel.h"

#include <QTimer>

namespace vq {

class Teams;
struct ScoreChange;

// The teams' names and scores over the background, in the title's style unless opt.ini gives
// the board its own, dragged like the other text items. It follows the scores' owner and keeps
// none of them: each change repaints the board alone (it is a label over the cached
// background), the team that changed marked in another colour for a moment so that the hall
// sees who scored. The teams stand in one row; when that row would be wider than the room to
// the screen's right edge, they stand in as many columns as fit, row after row.
class Scoreboard : public TCustomLabel {
    Q_OBJECT
public:
    Scoreboard(const Teams& teams, QWidget* parent = nullptr);

    // The widest the board may grow, from its left edge.
    void setRoom(int width);
    // S and the console's button: shown or hidden while there are teams; never without.
    void setShown(bool shown);
    bool shown() const { return m_shown; }
    // The team marked as having just changed, -1 for none.
    int marked() const { return m_marked; }
    // How long a change stays marked.
    static constexpr int kMarkMs = 1500;
    // The longest a name is drawn, in characters of the board's font; longer ones end in "…".
    static constexpr int kNameChars = 8;

    // The place of a team's entry within the board.
    QRect entryRect(int team) const;
    int columns() const;

protected:
    QSize measure() const override;
    int textFlags() const override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Grid {
        int name = 0;  // the names' column
        int score = 0; // the scores' column
        int cell = 0;  // one entry: name, half a gap, score
        int gap = 0;   // between entries
        int line = 0;
        int columns = 1;
        QRect entry(int team) const;
    };

    void follow(const ScoreChange& change);
    void refresh();
    Grid grid() const;

    const Teams& m_teams;
    int m_room = QWIDGETSIZE_MAX;
    bool m_shown = true;
    int m_marked = -1;
    QTimer m_markTimer;
};

} // namespace vq
