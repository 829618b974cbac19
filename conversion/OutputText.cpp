#include "conversion/OutputText.h"

#include <algorithm>
#include <utility>

namespace {

// The first block holds a typical record's output whole; later ones double up to the largest.
constexpr std::size_t FIRST_BLOCK = 8 << 10;
constexpr std::size_t LARGEST_BLOCK = 1 << 20;

}  // namespace

void TOutputText::AddBlock(std::size_t bytes) {
    // A new block rather than a larger one: what is written stays where it is.
    const std::size_t last = m_blocks.empty() ? 0 : m_blocks.back().capacity();
    std::string& block = m_blocks.emplace_back();
    block.reserve(std::max(bytes, std::clamp(last * 2, FIRST_BLOCK, LARGEST_BLOCK)));
}

void TOutputText::Append(char c) { Append(std::string_view(&c, 1)); }

void TOutputText::AppendLine(std::string_view line) {
    Append(line);
    Append("\r\n");
}

void TOutputText::Prepend(std::string text) {
    m_size += text.size();
    m_blocks.insert(m_blocks.begin(), std::move(text));
}

std::vector<std::string_view> TOutputText::Pieces() const {
    std::vector<std::string_view> pieces;
    pieces.reserve(m_blocks.size());
    for (const std::string& block : m_blocks) {
        if (!block.empty()) {
            pieces.emplace_back(block);
        }
    }
    return pieces;
}

std::string TOutputText::Bytes() const {
    std::string bytes;
    bytes.reserve(m_size);
    for (const std::string& block : m_blocks) {
        bytes += block;
    }
    return bytes;
}

TLineList TOutputText::Lines() const { return SplitLines(Bytes()); }
