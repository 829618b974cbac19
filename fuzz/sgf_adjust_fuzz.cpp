// The converter's SGF reading on any bytes: no crash, no hang, no sanitizer report, outputs empty
// whenever it answers false, and the same entries and what was left out whether the record is
// read as lines or as one text, with the count of the entries agreeing.
#include "conversion/LineList.h"
#include "conversion/SGFAdjust.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

struct TCollected : TSgfSplitSink {
    TLineList hd, ha, ck;
    void Property(std::string_view entry) override { hd.emplace_back(entry); }
    void Stone(std::string_view entry) override { ha.emplace_back(entry); }
    void Node(std::string_view entry) override { ck.emplace_back(entry); }
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TSGFAdjust adjust;
    adjust.Input = SplitLines(bytes);
    const bool ok = adjust.Adjust();
    Check(ok || (adjust.OutputHD.empty() && adjust.OutputHA.empty() && adjust.OutputCK.empty()));
    const std::optional<std::size_t> count = CountSgfEntries(bytes);
    Check(count.has_value() == ok);
    TCollected collected;
    TSgfLeftOut leftOut;
    Check(SplitSgfRecord(bytes, collected, &leftOut) == ok);
    if (ok) {
        Check(*count == adjust.OutputHD.size() + adjust.OutputHA.size() + adjust.OutputCK.size());
        Check(collected.hd == adjust.OutputHD && collected.ha == adjust.OutputHA &&
              collected.ck == adjust.OutputCK && leftOut == adjust.LeftOut);
    }
    return 0;
}
