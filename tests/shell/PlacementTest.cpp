#include "shell/Placement.h"

#include <gtest/gtest.h>

TEST(Placement, AWindowLiesWholeOnTheScreenOfItsOwnerMovedAsLittleAsItTakes) {
    const std::vector<TRect> screens = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
    const TRect main{100, 100, 452, 490};
    const struct {
        const char* name;
        TRect frame;
        std::optional<TRect> owner;
        std::vector<TRect> screens;
        bool shrink;
        TRect placed;
    } rows[] = {
        {"whole on a screen: where it is", main, {}, screens, false, main},
        {"off to the right, as a stored LEFT=5000 is", {5000, 100, 452, 490}, {}, screens, false,
         {2748, 100, 452, 490}},
        {"above every screen", {100, -200, 452, 490}, {}, screens, false, {100, 0, 452, 490}},
        {"below the one it is over", {100, 1010, 452, 490}, {}, screens, false,
         {100, 534, 452, 490}},
        {"across two: onto the one that holds more of it", {1000, 100, 452, 490}, {}, screens,
         false, {828, 100, 452, 490}},
        {"the viewer's place, on a 1280 x 1024 screen", {393, 249, 922, 622}, main, screens, true,
         {358, 249, 922, 622}},
        {"the viewer on a 1366 x 768 screen at 150 %: shrunk to it",
         {393, 249, 922, 622}, main, {{0, 0, 910, 512}}, true, {0, 0, 910, 512}},
        {"a fixed window larger than its screen: its corner on the screen's",
         {393, 249, 922, 622}, main, {{0, 0, 910, 512}}, false, {0, 0, 922, 622}},
        {"a dialog goes to the screen of its owner, not the one it was meant for",
         {362, 221, 381, 419}, TRect{1500, 100, 452, 490}, screens, false,
         {1280, 221, 381, 419}},
        {"no screens", {5000, 5000, 452, 490}, {}, {}, false, {5000, 5000, 452, 490}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const TRect placed = PlaceFrame(row.frame, row.owner, row.screens, row.shrink);
        EXPECT_EQ(placed.left, row.placed.left);
        EXPECT_EQ(placed.top, row.placed.top);
        EXPECT_EQ(placed.width, row.placed.width);
        EXPECT_EQ(placed.height, row.placed.height);
    }
    EXPECT_EQ(Centred({0, 0, 292, 302}, {0, 0, 1280, 1024}), (TPoint{494, 361}));
}
