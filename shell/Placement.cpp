#include "shell/Placement.h"

#include <algorithm>
#include <utility>

namespace {

long long Overlap(const TRect& a, const TRect& b) {
    const long long width =
        std::max(0, std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left));
    const long long height =
        std::max(0, std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top));
    return width * height;
}

bool Contains(const TRect& outer, const TRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

}  // namespace

TPoint PlaceTitleBar(const TRect& frame, int titleHeight, const std::vector<TRect>& screens) {
    const TRect bar{frame.left, frame.top, frame.width, titleHeight};
    if (screens.empty() || std::any_of(screens.begin(), screens.end(), [&](const TRect& screen) {
            return Contains(screen, bar);
        })) {
        return {frame.left, frame.top};
    }
    // The screen the title bar overlaps most; over none, the nearest.
    const auto fit = [&](const TRect& screen) {
        const long long dx = std::max(
            {0, screen.left - (bar.left + bar.width), bar.left - (screen.left + screen.width)});
        const long long dy = std::max(
            {0, screen.top - (bar.top + bar.height), bar.top - (screen.top + screen.height)});
        return std::make_pair(Overlap(screen, bar), -(dx * dx + dy * dy));
    };
    const TRect& screen =
        *std::max_element(screens.begin(), screens.end(),
                          [&](const TRect& a, const TRect& b) { return fit(a) < fit(b); });
    const int left =
        std::max(screen.left, std::min(frame.left, screen.left + screen.width - frame.width));
    const int top =
        std::max(screen.top, std::min(frame.top, screen.top + screen.height - titleHeight));
    return {left, top};
}

TPoint Centred(const TRect& frame, const TRect& screen) {
    return {screen.left + (screen.width - frame.width) / 2,
            screen.top + (screen.height - frame.height) / 2};
}
