// The SGF splitter on any bytes: no crash, no hang, no sanitizer report, outputs empty whenever it
// answers false, the same count of entries from the walk over the bytes as one text, and on small
// inputs exactly the entries of the literal, copying walk.
#include "conversion/LineList.h"
#include "conversion/SGFAdjust.h"
#include "tests/support/LiteralSgfAdjust.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TSGFAdjust adjust;
    adjust.Input = SplitLines(bytes);
    const bool ok = adjust.Adjust();
    if (!ok && (!adjust.OutputHD.empty() || !adjust.OutputHA.empty() || !adjust.OutputCK.empty())) {
        std::abort();
    }
    // The converter's walk over the same bytes as one text counts the same entries.
    const std::optional<std::size_t> count = CountSgfEntries(bytes);
    if (count.has_value() != ok ||
        (ok &&
         *count != adjust.OutputHD.size() + adjust.OutputHA.size() + adjust.OutputCK.size())) {
        std::abort();
    }
    // The literal walk copies the rest after every cut: keep it to inputs it handles quickly.
    if (size <= 4096) {
        const TLiteralSplit expected = LiteralSgfAdjust(adjust.Input);
        if (ok != expected.ok || adjust.OutputHD != expected.hd || adjust.OutputHA != expected.ha ||
            adjust.OutputCK != expected.ck) {
            std::abort();
        }
    }
    return 0;
}
