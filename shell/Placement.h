#pragma once

#include <vector>

// Where windows go on the screens: plain rectangles in screen pixels, no windows.

struct TRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// The top-left corner for a window whose frame (title bar included) is frame, so that its whole
// title bar, the top titleHeight pixels of the frame, lies on one of screens (their areas free
// for windows): frame's own corner when it does already; else the corner moved as little as it
// takes into the screen the title bar overlaps most (the nearest when it overlaps none). A
// frame wider than its screen keeps its left edge on the screen's. No screens: frame's corner.
TPoint PlaceTitleBar(const TRect& frame, int titleHeight, const std::vector<TRect>& screens);

// The top-left corner that centres a window of frame's size on screen.
TPoint Centred(const TRect& frame, const TRect& screen);
