#pragma once

#include <QPoint>
#include <QSize>

namespace vq {

// What the automatic layout of the main screen needs to know: the screen and how large the
// four text items come out in their fonts. All in pixels of the main screen's client area.
struct LayoutMetrics {
    QSize screen;
    // The title on its one line.
    QSize title;
    // The widest text the countdown shows.
    QSize countdown;
    // One line of question and of answer text.
    int questionLine = 0;
    int answerLine = 0;
    // The next-step picture, which sits 30 px from the right and 60 px from the bottom edge.
    QSize nextStep;
};

// Places and wrapping widths of the four text items, as the settings file stores them.
struct ShowLayout {
    QPoint title;
    QPoint countdown;
    QPoint question;
    int questionWidth = 0;
    // Where the answer stands below a one-line question.
    QPoint answer;
    int answerWidth = 0;
};

// The layout that fits a screen: the title top left and the countdown top right in one row
// (the countdown under the title where the row is too narrow for both), the question below
// them across the screen, clear of the next-step picture, and the answer 30 px under a
// one-line question. Every item starts inside the screen, even where the screen is too small
// for it.
ShowLayout layOut(const LayoutMetrics& m);

} // namespace vq
