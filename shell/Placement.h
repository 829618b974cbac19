#pragma once

#include <optional>
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

// Which of screens (their areas free for windows) a window belongs on: the one that holds most of
// owner (the window that opens it) or, with no owner, of frame itself; the nearest when it
// overlaps none. -1 when there are no screens.
int ScreenFor(const TRect& frame, const std::optional<TRect>& owner,
              const std::vector<TRect>& screens);

// The frame (title bar and borders included) a window takes so that it lies whole on its screen
// (ScreenFor): frame as it is when it does; else moved as little as it takes. A frame larger
// than the screen takes the screen's size where it is larger when it may shrink (shrink), and
// keeps its size with its top-left corner on the screen's otherwise. With centre, the frame is
// first centred on that screen. No screens: frame.
TRect PlaceFrame(const TRect& frame, const std::optional<TRect>& owner,
                 const std::vector<TRect>& screens, bool shrink, bool centre = false);

// The top-left corner that centres a window of frame's size on screen.
TPoint Centred(const TRect& frame, const TRect& screen);
