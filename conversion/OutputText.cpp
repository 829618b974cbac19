#include "conversion/OutputText.h"

#include <algorithm>

namespace {

// The first block holds a typical record's output whole; later ones double up to the largest.
constexpr std::size_t FIRST_BLOCK = 8 << 10;
constexpr std::size_t LARGEST_BLOCK = 1 << 20;

}  // namespace

void TOutputText::AddBlock(std::size_t bytes) {
    // A new block rather than a larger one: what is written stays where it is.
    std::size_t last = 0;
    if (!m_blocks.empty()) {
        TBlock& previous = m_blocks.back();
        previous.size = static_cast<std::size_t>(m_next - previous.bytes.get());
        last = previous.capacity;
        SpillWhenLarge();
    }
    const std::size_t capacity = std::max(bytes, std::clamp(last * 2, FIRST_BLOCK, LARGEST_BLOCK));
    TBlock& block = m_blocks.emplace_back();
    block.bytes = std::make_unique_for_overwrite<char[]>(capacity);
    block.capacity = capacity;
    m_next = block.bytes.get();
    m_room = capacity;
}

void TOutputText::SpillWhenLarge() {
    if (m_size - m_spilled - m_front.size() <= m_spillBeyond) {
        return;
    }
    if (!m_spill) {
        m_spill.reset(std::tmpfile());
        if (!m_spill) {
            m_spillBeyond = static_cast<std::size_t>(-1);  // no temporary file: all stays here
            return;
        }
    }
    std::size_t written = 0;
    for (const TBlock& block : m_blocks) {
        if (std::fwrite(block.bytes.get(), 1, block.size, m_spill.get()) != block.size) {
            // What went to the file before stays valid; this and the rest stay here.
            m_spillBeyond = static_cast<std::size_t>(-1);
            return;
        }
        written += block.size;
    }
    m_spilled += written;
    m_blocks.clear();
}

bool TOutputText::Write(const std::function<bool(std::span<const std::string_view>)>& write) const {
    if (m_spilled == 0) {
        const std::vector<std::string_view> pieces = Pieces();
        return write(pieces);
    }
    if (!m_front.empty()) {
        const std::string_view front = m_front;
        if (!write(std::span<const std::string_view>(&front, 1))) {
            return false;
        }
    }
    std::FILE* const file = m_spill.get();
    if (std::fflush(file) != 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        return false;
    }
    std::string buffer(std::size_t{1} << 20, '\0');
    bool written = true;
    for (std::size_t left = m_spilled; left > 0 && written;) {
        const std::size_t count = std::fread(buffer.data(), 1, std::min(left, buffer.size()), file);
        if (count == 0) {
            written = false;
            break;
        }
        const std::string_view piece(buffer.data(), count);
        written = write(std::span<const std::string_view>(&piece, 1));
        left -= count;
    }
    std::fseek(file, 0, SEEK_END);
    if (!written) {
        return false;
    }
    const std::vector<std::string_view> pieces = Pieces();
    return write(pieces);
}

std::string_view TOutputText::Written(std::size_t i) const {
    const TBlock& block = m_blocks[i];
    const std::size_t size = i + 1 == m_blocks.size()
                                 ? static_cast<std::size_t>(m_next - block.bytes.get())
                                 : block.size;
    return std::string_view(block.bytes.get(), size);
}

void TOutputText::AppendLine(std::string_view line) {
    char* at = Extend(line.size() + 2);
    at = std::copy(line.begin(), line.end(), at);
    at[0] = '\r';
    at[1] = '\n';
}

void TOutputText::Prepend(std::string_view text) {
    if (text.empty()) {
        return;
    }
    if (m_spilled > 0) {
        m_front.insert(0, text);
        m_size += text.size();
        return;
    }
    TBlock block;
    block.bytes = std::make_unique_for_overwrite<char[]>(text.size());
    std::copy(text.begin(), text.end(), block.bytes.get());
    block.size = block.capacity = text.size();
    if (m_blocks.empty()) {
        // The only block, full: the next Append starts another.
        m_next = block.bytes.get() + text.size();
        m_room = 0;
    }
    m_blocks.insert(m_blocks.begin(), std::move(block));
    m_size += text.size();
}

std::vector<std::string_view> TOutputText::Pieces() const {
    std::vector<std::string_view> pieces;
    pieces.reserve(m_blocks.size());
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        if (const std::string_view written = Written(i); !written.empty()) {
            pieces.push_back(written);
        }
    }
    return pieces;
}

std::string TOutputText::Bytes() const {
    std::string bytes;
    bytes.reserve(m_size);
    (void)Write([&bytes](std::span<const std::string_view> pieces) {
        for (const std::string_view piece : pieces) {
            bytes += piece;
        }
        return true;
    });
    return bytes;
}

TLineList TOutputText::Lines() const { return SplitLines(Bytes()); }
