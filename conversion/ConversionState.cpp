#include "conversion/ConversionState.h"

#include "conversion/KeyTable.h"

TConversionState::TConversionState() { StringSplit.pattern = "="; }

void TConversionState::ClassifyKey(std::string_view key) { KeyCode = KeyCodeOf(key); }

std::int32_t TConversionState::StepProgress() {
    // Wraps like the classic counter rather than overflowing on a record of 2^31 lines.
    ProgressCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(ProgressCount) + 1u);
    return ProgressCount;
}
