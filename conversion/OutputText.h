#pragma once

#include "conversion/LineList.h"

#include <cstddef>
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
        if (m_blocks.empty() ||
            m_blocks.back().capacity() - m_blocks.back().size() < bytes.size()) {
            AddBlock(bytes.size());
        }
        m_blocks.back().append(bytes);
        m_size += bytes.size();
    }
    void Append(char c);
    // Adds line and CR LF at the end.
    void AppendLine(std::string_view line);
    // Puts text in front of everything written so far.
    void Prepend(std::string text);

    // Bytes written.
    std::size_t Size() const { return m_size; }
    // The bytes in order, as views into the blocks, valid until the next change.
    std::vector<std::string_view> Pieces() const;
    // All the bytes as one string.
    std::string Bytes() const;
    // The text cut into lines (SplitLines).
    TLineList Lines() const;

private:
    // A new last block with room for at least bytes.
    void AddBlock(std::size_t bytes);

    std::vector<std::string> m_blocks;
    std::size_t m_size = 0;
};
