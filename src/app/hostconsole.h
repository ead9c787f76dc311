#pragma once

#include "app/showview.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QBoxLayout;
class QLabel;
class QPushButton;
class TForm1;

namespace vq {

class LivePicture;

// The host's console (主持人视图), for the operator's own screen beside the projector: the
// question and its answer before the hall sees the answer, where the question cycle stands and
// what the next step does, the countdown, how many questions are drawn and left, the time, a
// small live picture of the hall's screen, the teams' scores with their buttons (ConsoleScores),
// buttons for the show's commands and the main screen's menu, and a line for notices. It keeps
// nothing of the show: each announcement of the main screen makes it read the show anew. Keys typed
// on it reach the main screen's step button exactly as if they had been typed there.
class HostConsole : public QWidget {
    Q_OBJECT
public:
    explicit HostConsole(TForm1& form, QWidget* parent = nullptr);

    // One line of text for the operator, from any part of the program; an empty text clears it.
    void notice(const QString& text);
    // The time of day and how long the show has run, as its once-a-second timer shows them.
    void showClock();

    LivePicture* livePicture() const { return m_picture; }

signals:
    // The operator closed the window: it is hidden, the show goes on.
    void closedByOperator();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void addStatus(QBoxLayout& layout);
    void addButtons(QBoxLayout& layout);
    void follow();
    void forward(const QKeyEvent& key);

    TForm1& m_form;
    QLabel* m_counts = nullptr;
    QLabel* m_phase = nullptr;
    QLabel* m_nextStep = nullptr;
    QLabel* m_countdown = nullptr;
    QLabel* m_blackOut = nullptr;
    QLabel* m_clock = nullptr;
    QLabel* m_number = nullptr;
    QLabel* m_question = nullptr;
    QLabel* m_answer = nullptr;
    QLabel* m_unrevealed = nullptr;
    QLabel* m_notice = nullptr;
    // Only where the question up has a clip.
    QPushButton* m_replay = nullptr;
    QPushButton* m_stopSound = nullptr;
    LivePicture* m_picture = nullptr;
    QTimer m_clockTimer;
    QElapsedTimer m_running;
};

} // namespace vq
