#pragma once

#include "conversion/Text.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>

// How the conversion to UGF reads SGF property values and takes a node apart, SGF's way: a value
// runs from its "[" to the first "]" that no single-byte "\" escapes, a double-byte character is
// stepped over whole (a trail byte that looks like "]" or "\" ends and escapes nothing), and
// whatever a value holds (";", "(", ")", "[") is text of it. An escaping "\" stays in the value as
// written.

// The length of the character that each byte begins: 2 for a lead byte, else 1.
inline constexpr std::array<unsigned char, 256> SGF_CHARACTER_LENGTHS = [] {
    std::array<unsigned char, 256> lengths{};
    for (int b = 0; b < 256; ++b) {
        lengths[static_cast<std::size_t>(b)] = IsLeadByte(static_cast<unsigned char>(b)) ? 2 : 1;
    }
    return lengths;
}();

// True when data[at] begins a character, data[boundary] being known to begin one: the run of
// lead-byte values right before at, back to boundary, pairs up. Looks at those bytes only.
inline bool BeginsCharacter(const char* data, std::size_t boundary, std::size_t at) {
    std::size_t run = at;
    while (run > boundary && IsLeadByte(static_cast<unsigned char>(data[run - 1]))) {
        --run;
    }
    return (at - run) % 2 == 0;
}

// Finds where values end in one stretch of bytes (a line, a node), walking it front to back. The
// "]" and "\" of the stretch are each searched for once, not at every value, so a line of many
// long values is walked once.
class TSgfValueScan {
public:
    // A new stretch of size bytes at data.
    void Start(const char* data, std::size_t size) {
        m_data = data;
        m_size = size;
        m_searched[0] = m_searched[1] = false;
    }

    // From at (a character boundary inside a value) to the "]" that ends the value: its position,
    // or the size of the stretch when the value runs past its end. Then trailComesNext tells
    // whether the stretch ended inside a double-byte character (its lead byte last); a "\" that
    // ends the stretch escapes nothing after it.
    std::size_t End(std::size_t at) {
        trailComesNext = false;
        const char* const data = m_data;
        const std::size_t size = m_size;
        std::size_t i = at;
        for (;;) {
            // The next few characters are stepped over by a table look-up, a double-byte one
            // whole: values are often short.
            const std::size_t near = std::min(size, i + 32);
            while (i < near) {
                const unsigned char c = static_cast<unsigned char>(data[i]);
                if (c == ']') {
                    return i;
                }
                if (c == '\\') {
                    if (++i >= size) {
                        return size;
                    }
                }
                i += SGF_CHARACTER_LENGTHS[static_cast<unsigned char>(data[i])];
            }
            if (i >= size) {
                trailComesNext = i > size;
                return size;
            }
            // Past them, the next "]" or "\" is found at the speed of memory, and whether it
            // begins a character is settled by the run of lead-byte values before it, back to the
            // known character boundary i.
            const std::size_t stop = std::min(Next(0, ']', i), Next(1, '\\', i));
            if (stop == size) {
                trailComesNext = IsLeadByte(static_cast<unsigned char>(data[size - 1])) &&
                                 BeginsCharacter(data, i, size - 1);
                return size;
            }
            if (!BeginsCharacter(data, i, stop)) {
                i = stop + 1;  // a trail byte: its character ends here
                continue;
            }
            if (data[stop] == ']') {
                return stop;
            }
            i = stop + 1;  // "\": the character after it is stepped over whole
            if (i >= size) {
                return size;
            }
            i += SGF_CHARACTER_LENGTHS[static_cast<unsigned char>(data[i])];
            if (i > size) {
                trailComesNext = true;
                return size;
            }
        }
    }

    bool trailComesNext = false;

private:
    // The position of the next byte c at or after from (the size for none), searched again only
    // once the walk has passed the last one found.
    std::size_t Next(int k, char c, std::size_t from) {
        if (!m_searched[k] || m_found[k] < from) {
            const void* hit = std::memchr(m_data + from, c, m_size - from);
            m_found[k] =
                hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - m_data) : m_size;
            m_searched[k] = true;
        }
        return m_found[k];
    }

    const char* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_found[2] = {};
    bool m_searched[2] = {};
};

// The name and the value of one root entry of the splitter (see TSgfSplitSink::Property): the
// name is the text before the entry's first "[" and the value the text after it up to the "]"
// that ends the entry, both trimmed. None for an entry without a "[" (a "]" outside any value).
inline std::optional<std::pair<std::string_view, std::string_view>> SgfEntryParts(
    std::string_view entry) {
    for (std::size_t i = 0; i < entry.size();
         i += SGF_CHARACTER_LENGTHS[static_cast<unsigned char>(entry[i])]) {
        if (entry[i] == '[') {
            const std::size_t end = EndsWithCharacter(entry, ']') ? entry.size() - 1 : entry.size();
            return std::pair(TrimView(entry.substr(0, i)),
                             TrimView(entry.substr(i + 1, end > i ? end - i - 1 : 0)));
        }
    }
    return std::nullopt;
}

// The colour of a move property of the name, as the conversion reads it: 'B' for exactly "B" or
// "Black", 'W' for exactly "W" or "White", 0 for any other name.
constexpr char SgfMoveColour(std::string_view name) {
    return name == "B" || name == "Black" ? 'B' : name == "W" || name == "White" ? 'W' : '\0';
}
