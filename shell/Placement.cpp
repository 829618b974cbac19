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

// The corner's coordinate that keeps [at, at + length) within [start, start + room), moved as
// little as it takes; the start when it cannot fit.
int Within(int at, int length, int start, int room) {
    return std::max(start, std::min(at, start + room - length));
}

}  // namespace

int ScreenFor(const TRect& frame, const std::optional<TRect>& owner,
              const std::vector<TRect>& screens) {
    if (screens.empty()) {
        return -1;
    }
    const TRect& window = owner ? *owner : frame;
    // The most of the window; over none, the nearest.
    const auto fit = [&](const TRect& screen) {
        const long long dx = std::max({0, screen.left - (window.left + window.width),
                                       window.left - (screen.left + screen.width)});
        const long long dy = std::max({0, screen.top - (window.top + window.height),
                                       window.top - (screen.top + screen.height)});
        return std::make_pair(Overlap(screen, window), -(dx * dx + dy * dy));
    };
    const auto best =
        std::max_element(screens.begin(), screens.end(),
                         [&](const TRect& a, const TRect& b) { return fit(a) < fit(b); });
    return static_cast<int>(best - screens.begin());
}

TRect PlaceFrame(const TRect& frame, const std::optional<TRect>& owner,
                 const std::vector<TRect>& screens, bool shrink, bool centre) {
    const int index = ScreenFor(frame, owner, screens);
    if (index < 0) {
        return frame;
    }
    const TRect& screen = screens[static_cast<std::size_t>(index)];
    TRect placed = frame;
    if (centre) {
        const TPoint corner = Centred(frame, screen);
        placed.left = corner.x;
        placed.top = corner.y;
    }
    if (shrink) {
        placed.width = std::min(placed.width, screen.width);
        placed.height = std::min(placed.height, screen.height);
    }
    placed.left = Within(placed.left, placed.width, screen.left, screen.width);
    placed.top = Within(placed.top, placed.height, screen.top, screen.height);
    return placed;
}

TPoint Centred(const TRect& frame, const TRect& screen) {
    return {screen.left + (screen.width - frame.width) / 2,
            screen.top + (screen.height - frame.height) / 2};
}
