// The two readings of an SGF record on any bytes: wherever the converter's streaming reading and
// the game tree reader both take a record, they take the same main line (size, setup stones,
// moves) and see the same beyond it. A fault of either shows here, as it would in --check.
#include "conversion/Game.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TGameRecord split = ReadSgfGameAsSplit(bytes);
    const TGameRecord tree = ReadSgfGame(bytes);
    if (split.ok != tree.ok) {
        std::abort();
    }
    if (!split.ok) {
        return 0;
    }
    const TGameNotes& a = split.game.notes;
    const TGameNotes& b = tree.game.notes;
    if (FirstDifference(split.game, tree.game).what != TGameDifference::TWhat::None ||
        a.variations != b.variations || a.games != b.games || a.rootMoves != b.rootMoves ||
        a.laterSetup != b.laterSetup) {
        std::abort();
    }
    return 0;
}
