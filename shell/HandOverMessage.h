#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The message in which a second start hands its files to the program that runs for the same
// folder: "MORVANE", the form's number 1 in one byte, the length of the rest in 8 bytes, then the
// number of paths in 4 bytes and each path as its length in 4 bytes and its bytes (lengths and
// numbers most significant byte first). Paths are the bytes the file system uses.

// The largest message taken, rest and head together: the program that listens holds at most this
// much for each start it reads, however much a start sends.
inline constexpr std::size_t HAND_OVER_LIMIT = std::size_t{1} << 20;

// The message that hands paths over. Throws std::length_error when it would pass HAND_OVER_LIMIT.
std::string HandOverMessage(const std::vector<std::string>& paths);

// The messages that hand paths over, in order, as many as it takes so that none passes
// HAND_OVER_LIMIT; one (of no paths) when there are none. Throws std::length_error for a path
// that no message can hold.
std::vector<std::string> HandOverMessages(const std::vector<std::string>& paths);

// What the bytes received so far are.
struct THandOverReading {
    enum class TState {
        // A beginning of a message: more is to come.
        Partial,
        // One whole message, nothing after it; paths holds its paths.
        Whole,
        // No such message, however it goes on: another form, a length past the limit, paths that
        // do not fill it exactly, or bytes after it.
        Damaged,
    };
    TState state = TState::Partial;
    std::vector<std::string> paths;
    // Partial: how many more bytes the message has at least, so that a reader takes no more than
    // its declared length; 0 otherwise.
    std::size_t missing = 0;
};
THandOverReading ReadHandOver(std::string_view bytes);
