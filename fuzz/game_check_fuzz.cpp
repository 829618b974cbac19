// The game of a record's bytes, its conversion in memory, the output read back and the games
// compared, then the board played through: no crash, no hang, no sanitizer report, and verdicts
// that agree with the comparison.
#include "board/Replay.h"

#include "conversion/GameCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void PlayThrough(const TGameRecord& record) {
    if (!record.ok || record.game.boardSize == 0) {
        return;
    }
    TReplay replay(record.game);
    const std::size_t last = replay.MoveCount();
    for (const std::size_t move : {last, std::size_t{0}, last / 2, last, last / 3 + 1}) {
        if (replay.Position(move).move != std::min(move, last)) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte: bit 0 the kind (UGF, SGF), bits 1 and 2 the SGF written (USGFApli); the
    // rest the file.
    const std::uint8_t head = size > 0 ? data[0] : 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0),
                                 size > 0 ? size - 1 : 0);
    TConversionSettings settings;
    settings.USGFApli = (head >> 1) & 3;
    const TRecordKind kind = head & 1 ? TRecordKind::Sgf : TRecordKind::Ugf;
    const TGameCheck check = CheckRecordGame(bytes, kind, settings);
    if (check.verdict == TCheckVerdict::NotConverted && check.reason.empty()) {
        std::abort();
    }
    if (check.verdict == TCheckVerdict::Same &&
        (check.changes != 0 || check.difference.what != TGameDifference::TWhat::None)) {
        std::abort();
    }
    PlayThrough(check.source);
    PlayThrough(check.output);
    return 0;
}
