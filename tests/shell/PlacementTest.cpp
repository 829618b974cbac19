#include "shell/Placement.h"

#include <gtest/gtest.h>

TEST(Placement, AWindowComesBackWithItsWholeTitleBarOnAScreen) {
    const std::vector<TRect> screens = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    const TRect window{100, 100, 452, 490};
    // On a screen, or across two with the title bar whole on one: where it was.
    EXPECT_EQ(PlaceTitleBar(window, 30, screens), (TPoint{100, 100}));
    EXPECT_EQ(PlaceTitleBar({1400, 900, 452, 490}, 30, screens), (TPoint{1400, 900}));
    // Off to the right, as a stored LEFT=5000 is: onto the screen it overlaps most, no further.
    EXPECT_EQ(PlaceTitleBar({5000, 100, 452, 490}, 30, screens), (TPoint{2748, 100}));
    // Above every screen, and below the one it is over.
    EXPECT_EQ(PlaceTitleBar({100, -200, 452, 490}, 30, screens), (TPoint{100, 0}));
    EXPECT_EQ(PlaceTitleBar({100, 1010, 452, 490}, 30, screens), (TPoint{100, 994}));
    // Across the edge between two screens: onto the one that holds more of the title bar.
    EXPECT_EQ(PlaceTitleBar({1000, 1050, 452, 490}, 30, screens), (TPoint{1280, 1050}));
    EXPECT_EQ(PlaceTitleBar({1000, 1000, 452, 490}, 30, screens), (TPoint{828, 994}));
    // Wider than its screen: its left edge on the screen's.
    EXPECT_EQ(PlaceTitleBar({-50, 10, 2000, 490}, 30, {{0, 0, 1280, 1024}}), (TPoint{0, 10}));
    EXPECT_EQ(PlaceTitleBar({5000, 5000, 452, 490}, 30, {}), (TPoint{5000, 5000}));
    EXPECT_EQ(Centred({0, 0, 290, 282}, {0, 0, 1280, 1024}), (TPoint{495, 371}));
}
