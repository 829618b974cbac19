#pragma once

#include "conversion/LineList.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The text of an output as a converter writes it, line after line, kept in blocks that are never
// moved once written: it grows to any size without being copied, so a record's output takes the
// memory of its bytes and at most one block more, and it goes to the disk as it stands.
class TOutputText {
public:
    // Adds bytes at the end.
    void Append(std::string_view bytes) {
        if (!bytes.empty()) {
            std::memcpy(Extend(bytes.size()), bytes.data(), bytes.size());
        }
    }
    void Append(char c) { *Extend(1) = c; }
    // Adds line and CR LF at the end.
    void AppendLine(std::string_view line);
    // Room for bytes more at the end: the caller writes exactly that many bytes at the pointer
    // returned, before any other change. A short line is then written in place, byte by byte.
    // With room, the block has at least that many bytes free at the pointer (room >= bytes): the
    // caller may write whole fixed-size chunks there that run past bytes, knowing that whatever
    // lies past bytes is written over by the next change.
    char* Extend(std::size_t bytes, std::size_t room = 0) {
        if (m_room < std::max(bytes, room)) {
            AddBlock(std::max(bytes, room));
        }
        char* const at = m_next;
        m_next += bytes;
        m_room -= bytes;
        m_size += bytes;
        return at;
    }
    // Puts text in front of everything written so far.
    void Prepend(std::string_view text);
    // Bytes written.
    std::size_t Size() const { return m_size; }
    // The bytes in order, as views into the blocks, valid until the next change.
    std::vector<std::string_view> Pieces() const;
    // All the bytes as one string.
    std::string Bytes() const;
    // The text cut into lines (SplitLines).
    TLineList Lines() const;

private:
    struct TBlock {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;  // written, but for the last block, whose end is m_next
        std::size_t capacity = 0;
    };
    // A new last block with room for at least bytes.
    void AddBlock(std::size_t bytes);
    // The bytes written in block i.
    std::string_view Written(std::size_t i) const;

    std::vector<TBlock> m_blocks;
    char* m_next = nullptr;  // where the next byte goes in the last block
    std::size_t m_room = 0;  // bytes free after m_next
    std::size_t m_size = 0;
};
