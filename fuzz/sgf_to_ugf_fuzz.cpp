// The pure SGF to UGF conversion of a file's bytes, its encoding read and turned into Shift-JIS
// first, on any bytes and any setting: no crash, no hang, no sanitizer report, and a reason for
// every record that is not written.
#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/Services.h"
#include "conversion/SgfToUgf.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first four bytes are the setting SGFConv, the rest the file.
    std::int32_t setting = 0;
    const std::size_t head = size < sizeof setting ? size : sizeof setting;
    std::memcpy(&setting, data, head);
    const std::string_view bytes(reinterpret_cast<const char*>(data) + head, size - head);

    TConversionState state;
    state.Settings.SGFConv = setting;
    TSilentProgress progress;
    const TConvertedRecord record = ConvertSgfBytes(bytes, state, progress);
    if (!record.ready && state.FailureReason.empty()) {
        std::abort();
    }
    const TLineList lines = record.text.Lines();
    if (record.ready && (lines.size() < 17 || lines[16] != "[Data]")) {
        std::abort();
    }
    if (progress.GetBar(TBar::ProgressBar1, TBarField::Position) !=
        progress.GetBar(TBar::ProgressBar1, TBarField::Max)) {
        std::abort();
    }
    return 0;
}
