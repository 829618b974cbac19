#include "shell/HandOverMessage.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace {

constexpr std::string_view MAGIC = "MORVANE\x01";
constexpr std::size_t HEAD = MAGIC.size() + 8;

void PutNumber(std::string& out, std::uint64_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

std::uint64_t GetNumber(std::string_view bytes, std::size_t at, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

}  // namespace

std::string HandOverMessage(const std::vector<std::string>& paths) {
    std::size_t rest = 4;
    for (const std::string& path : paths) {
        rest += 4 + path.size();
        if (path.size() > 0xFFFFFFFFu || rest > HAND_OVER_LIMIT - HEAD) {
            throw std::length_error("too many files to hand over");
        }
    }
    std::string message(MAGIC);
    message.reserve(HEAD + rest);
    PutNumber(message, rest, 8);
    PutNumber(message, paths.size(), 4);
    for (const std::string& path : paths) {
        PutNumber(message, path.size(), 4);
        message += path;
    }
    return message;
}

std::vector<std::string> HandOverMessages(const std::vector<std::string>& paths) {
    std::vector<std::string> messages;
    std::vector<std::string> batch;
    std::size_t size = HEAD + 4;
    for (const std::string& path : paths) {
        if (!batch.empty() && size + 4 + path.size() > HAND_OVER_LIMIT) {
            messages.push_back(HandOverMessage(batch));
            batch.clear();
            size = HEAD + 4;
        }
        batch.push_back(path);
        size += 4 + path.size();
    }
    messages.push_back(HandOverMessage(batch));
    return messages;
}

THandOverReading ReadHandOver(std::string_view bytes) {
    using TState = THandOverReading::TState;
    const THandOverReading damaged{TState::Damaged, {}, 0};
    const std::size_t known = std::min(bytes.size(), MAGIC.size());
    if (bytes.substr(0, known) != MAGIC.substr(0, known)) {
        return damaged;
    }
    if (bytes.size() < HEAD) {
        return {TState::Partial, {}, HEAD - bytes.size()};
    }
    const std::uint64_t rest = GetNumber(bytes, MAGIC.size(), 8);
    if (rest < 4 || rest > HAND_OVER_LIMIT - HEAD || bytes.size() > HEAD + rest) {
        return damaged;
    }
    if (bytes.size() < HEAD + rest) {
        return {TState::Partial, {}, static_cast<std::size_t>(HEAD + rest - bytes.size())};
    }
    std::size_t at = HEAD;
    const std::uint64_t count = GetNumber(bytes, at, 4);
    at += 4;
    // Every path takes at least its 4 bytes of length: a count that the rest cannot hold is
    // refused before anything is reserved for it.
    if (count > (bytes.size() - at) / 4) {
        return damaged;
    }
    THandOverReading reading{TState::Whole, {}, 0};
    reading.paths.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        if (bytes.size() - at < 4) {
            return damaged;
        }
        const std::uint64_t length = GetNumber(bytes, at, 4);
        at += 4;
        if (length > bytes.size() - at) {
            return damaged;
        }
        reading.paths.emplace_back(bytes.substr(at, length));
        at += length;
    }
    return at == bytes.size() ? reading : damaged;
}
