// Arbitrary settings and bytes through the UGF to SGF conversion: the first four bytes are
// UGFConv, the next four USGFApli, the rest the file. Aborts when a record that gives no output
// has no reason, or when an output is not one closed game tree.

#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/Services.h"
#include "conversion/UgfToSgf.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

std::int32_t TakeInt(const std::uint8_t*& data, std::size_t& size) {
    std::int32_t value = 0;
    const std::size_t count = size < sizeof value ? size : sizeof value;
    if (count > 0) {
        std::memcpy(&value, data, count);
    }
    data += count;
    size -= count;
    return value;
}

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TConversionState state;
    state.Settings.UGFConv = TakeInt(data, size);
    state.Settings.USGFApli = TakeInt(data, size);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TLineList source = SplitLines(text);
    TSilentProgress progress;
    const TConvertedRecord record = ConvertUgfRecord(text, state, progress);

    const int max = progress.GetBar(TBar::ProgressBar1, TBarField::Max);
    const int position = progress.GetBar(TBar::ProgressBar1, TBarField::Position);
    Check(max >= 0 && (position == 0 || position == max));
    Check(state.ProgressCount >= 0 &&
          static_cast<std::size_t>(state.ProgressCount) <= source.size());
    if (!record.ready) {
        Check(!state.FailureReason.empty());
        return 0;
    }
    Check(state.FailureReason.empty() && position == max);
    const TLineList lines = record.text.Lines();
    Check(lines.size() >= 2 && lines.front().rfind("(;", 0) == 0);
    Check(!lines.back().empty() && lines.back().back() == ')');
    return 0;
}
