#include "app/showview.h"

namespace vq {

ShowPhase phaseOf(int counter) {
    switch (((counter % 3) + 3) % 3) {
    case 1:
        return ShowPhase::Question;
    case 2:
        return ShowPhase::Countdown;
    default:
        return counter == 0 ? ShowPhase::Start : ShowPhase::Answer;
    }
}

QString nextStepText(ShowPhase phase) {
    switch (phase) {
    case ShowPhase::Question:
        return QStringLiteral("下一步：开始计时");
    case ShowPhase::Countdown:
        return QStringLiteral("下一步：显示答案");
    case ShowPhase::Start:
    case ShowPhase::Answer:
        break;
    }
    return QStringLiteral("下一步：下一题");
}

} // namespace vq
