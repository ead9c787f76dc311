#pragma once

#include <QString>

#include <optional>

namespace vq {

// What the main screen announces, once for each change of the show's state.
enum class ShowChange {
    Draw,      // a new question is up (a step, or 换一题)
    Step,      // a step that drew nothing: the countdown started, or the answer revealed
    StepBack,  // Page Up and its like
    Tick,      // the countdown counted one second down
    Countdown, // the countdown paused, continued, lengthened or shortened
    BlackOut,  // the hall's screen covered or uncovered
    Resume,    // an earlier show taken up again
};

// What the operator can ask of the show, from a key or a button of the host's console; each
// goes through the same handler whichever way it comes.
enum class ShowCommand {
    Step,            // Page Down: exactly what Enter and Space do
    StepBack,        // Page Up
    BlackOut,        // B: covers, or uncovers
    PauseOrContinue, // P
    AddTime,         // + ten seconds
    TakeTime,        // - ten seconds
    DrawAnother,     // 换一题: the question now showing is put aside and another drawn
    Scoreboard,      // S: the scoreboard shown or hidden (only where teams are set up)
    Ranking,         // R: the ranking put up, or taken away
    UndoScore,       // Ctrl+Z: the last change of score taken back
    ReplaySound,     // M: the question's clip again from its start (only where it has one)
    StopSound,       // T: the question's clip stopped where it plays, the question staying up
};

// Where the question cycle stands: what the next step does follows from it.
enum class ShowPhase {
    Start,     // nothing drawn yet: the next step draws
    Question,  // a question up: the next step starts the countdown
    Countdown, // counting, paused or stopped: the next step reveals the answer
    Answer,    // the answer revealed: the next step draws
};

enum class CountdownState { Hidden, Running, Paused, Stopped };

// The show as the main screen's controls hold it now, for those who follow it.
struct ShowView {
    int counter = 0; // the step counter
    ShowPhase phase = ShowPhase::Start;
    QString number; // the bank's number of the question up; empty before the first draw
    QString question;
    QString answer;
    bool answerShown = false;
    QString countdown; // the countdown's text
    CountdownState countdownState = CountdownState::Hidden;
    bool blackedOut = false;
    int drawn = 0; // questions taken out of the pool in this show
    int left = 0;  // questions still in it
    // The question's own countdown length and points, where the bank gives them.
    std::optional<int> seconds;
    std::optional<int> points;
    bool hasSound = false; // the question has a clip of its own
};

// The phase a step counter stands for.
ShowPhase phaseOf(int counter);
// What the next step will do: "下一步：开始计时", "下一步：显示答案" or "下一步：下一题".
QString nextStepText(ShowPhase phase);

// How much +/- changes a countdown, in seconds.
inline constexpr int kCountdownStep = 10;

} // namespace vq
