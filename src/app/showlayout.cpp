#include "app/showlayout.h"

#include <algorithm>

namespace vq {
namespace {

// The next-step picture's distance from the right edge (the main screen keeps it there).
constexpr int kNextStepRight = 30;
// The answer stands this far below the question's last line, as every step places it.
constexpr int kAnswerGap = 30;

// A place that keeps an item of the size inside the screen where it fits, and at the top left
// corner of the screen where it does not: the start of a text is what matters.
QPoint inside(QPoint p, QSize item, QSize screen) {
    return {std::clamp(p.x(), 0, std::max(0, screen.width() - item.width())),
            std::clamp(p.y(), 0, std::max(0, screen.height() - item.height()))};
}

} // namespace

ShowLayout layOut(const LayoutMetrics& m) {
    const int w = m.screen.width();
    const int h = m.screen.height();
    // Margins grow with the screen, so that a projector's blurred edges stay clear.
    const int side = std::max(16, w / 24);
    const int top = std::max(12, h / 24);
    const int gap = std::max(16, h / 30);

    ShowLayout l;
    const bool oneRow = side + m.title.width() + side + m.countdown.width() + side <= w;
    // A title too wide for the margins is centred: both ends are cut alike.
    const int titleLeft = m.title.width() <= w - 2 * side ? side : (w - m.title.width()) / 2;
    l.title = inside({titleLeft, top}, m.title, m.screen);
    l.countdown = inside(
        {w - side - m.countdown.width(), oneRow ? top : l.title.y() + m.title.height() + gap},
        m.countdown, m.screen);
    const int header =
        std::max(l.title.y() + m.title.height(), l.countdown.y() + m.countdown.height());

    // The question's lines end before the next-step picture's left edge.
    const int right = std::max(side, m.nextStep.width() + kNextStepRight + side / 2);
    l.question = inside({side, header + gap}, {0, m.questionLine}, m.screen);
    l.questionWidth = std::max(1, w - l.question.x() - right);
    if (w - l.question.x() - right < m.questionLine)
        l.questionWidth = std::max(1, w - l.question.x());
    l.answer = inside({l.question.x(), l.question.y() + m.questionLine + kAnswerGap},
                      {0, m.answerLine}, m.screen);
    l.answerWidth = l.questionWidth;
    return l;
}

} // namespace vq
