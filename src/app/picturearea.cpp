#include "app/picturearea.h"

#include "settings/settings.h"

#include <algorithm>

namespace vq {

namespace {
// Between the picture and what it stands beside, and from the screen's right edge.
constexpr int kGap = 24;
constexpr int kMargin = 30;
} // namespace

QRect defaultPictureArea(QSize screen, const QRect& question, const QRect& nextStep) {
    const int bottom = std::min(screen.height(), nextStep.top()) - kGap;
    const int besideLeft = std::max(0, question.left() + question.width() + kGap);
    const int besideWidth = screen.width() - kMargin - besideLeft;
    if (besideWidth >= screen.width() / 4 && besideWidth > 0) {
        const int top = std::clamp(question.top(), 0, std::max(0, bottom - 1));
        return QRect(besideLeft, top, besideWidth, std::max(1, bottom - top));
    }
    const int left = std::max(0, question.left());
    const int top =
        std::clamp(question.top() + question.height() + kGap, 0, std::max(0, bottom - 1));
    const int width = std::min(question.width(), screen.width() - kMargin - left);
    return QRect(left, top, std::max(1, width), std::max(1, bottom - top));
}

QRect pictureAreaFrom(const Settings& settings, const QRect& fallback) {
    const auto width = settings.integer(Key::tupian_width);
    const auto height = settings.integer(Key::tupian_height);
    return QRect(settings.integer(Key::tupian_left).value_or(fallback.left()),
                 settings.integer(Key::tupian_top).value_or(fallback.top()),
                 width && *width > 0 ? *width : fallback.width(),
                 height && *height > 0 ? *height : fallback.height());
}

} // namespace vq
