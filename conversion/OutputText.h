#pragma once

#include "conversion/FileOps.h"
#include "conversion/LineList.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The text of an output as a converter writes it, line after line, kept in blocks that are never
// moved once written: it grows to any size without being copied, so a record's output takes the
// memory of its bytes and at most one block more, and it goes to the disk as it stands. An output
// that grows past a bound (SpillBeyond) moves its finished blocks to a temporary file of its own,
// so that even a record whose output is many times its size converts in bounded memory.
class TOutputText : public TWritable {
public:
    TOutputText() = default;
    TOutputText(TOutputText&&) noexcept = default;
    TOutputText& operator=(TOutputText&&) noexcept = default;
    ~TOutputText() override = default;

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
    // From now on, once more than bytes are held in memory, the finished blocks go to a temporary
    // file (where one can be made and written; else they stay).
    void SpillBeyond(std::size_t bytes) { m_spillBeyond = bytes; }
    // True when part of the bytes went to the temporary file.
    bool Spilled() const { return m_spilled > 0; }
    // The bytes in order, as views into the blocks, valid until the next change; only for a text
    // that has not spilled.
    std::vector<std::string_view> Pieces() const;
    // The bytes in order, a span at a time (the spilled ones read back in pieces).
    bool Write(const std::function<bool(std::span<const std::string_view>)>& write) const override;
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

    // Moves every block but the last to the temporary file, when more than m_spillBeyond bytes
    // are held.
    void SpillWhenLarge();

    struct TCloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    std::vector<TBlock> m_blocks;
    char* m_next = nullptr;  // where the next byte goes in the last block
    std::size_t m_room = 0;  // bytes free after m_next
    std::size_t m_size = 0;
    std::size_t m_spillBeyond = static_cast<std::size_t>(-1);
    // The bytes after m_front that went to the temporary file, in order.
    std::unique_ptr<std::FILE, TCloseFile> m_spill;
    std::size_t m_spilled = 0;
    // What was put in front once bytes had spilled.
    std::string m_front;
};
