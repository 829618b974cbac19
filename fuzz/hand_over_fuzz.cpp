// The message a second start hands to the program that runs, on arbitrary bytes: every prefix of a
// whole message reads as partial, and tells how far the message goes without overstating it; a
// whole one gives back the very bytes it was read from, and nothing else is taken.

#include "shell/HandOverMessage.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const THandOverReading reading = ReadHandOver(bytes);
    switch (reading.state) {
        case THandOverReading::TState::Whole:
            Check(HandOverMessage(reading.paths) == bytes);
            Check(ReadHandOver(bytes.substr(0, size - 1)).state ==
                  THandOverReading::TState::Partial);
            Check(ReadHandOver(bytes.substr(0, size - 1)).missing == 1);
            Check(size <= HAND_OVER_LIMIT);
            break;
        case THandOverReading::TState::Partial:
            Check(reading.missing >= 1 && size + reading.missing <= HAND_OVER_LIMIT);
            Check(reading.paths.empty());
            break;
        case THandOverReading::TState::Damaged:
            Check(reading.paths.empty());
            break;
    }
    return 0;
}
