#pragma once

#include <QList>
#include <QWidget>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class TForm1;

namespace vq {

struct ScoreChange;

// The teams on the host's console: each team's name and score with a + and a − button (a step
// added or taken, as the digit keys do), a field for typing the score a team should have (Enter
// sets it, undoable like any change), and buttons to show or hide the scoreboard, put up the
// ranking and undo the last change. Each goes through the main screen's own handlers; the scores
// are read from their owner at each change, never copied. Where no team is set up only its
// 队伍设置 button is there.
class ConsoleScores : public QWidget {
    Q_OBJECT
public:
    explicit ConsoleScores(TForm1& form, QWidget* parent = nullptr);

    // The teams' rows follow the teams set up now.
    void rebuild();

private:
    struct Row {
        QLabel* name = nullptr;
        QLabel* score = nullptr;
        QLineEdit* typed = nullptr;
    };
    void follow(const ScoreChange& change);
    void showScores();
    void correct(int team);

    TForm1& m_form;
    QGridLayout* m_grid = nullptr;
    QList<Row> m_rows;
    // 计分板, 排名 and 撤销: shown where there are teams.
    QList<QPushButton*> m_scoreButtons;
};

} // namespace vq
