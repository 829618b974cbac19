#include "conversion/ConversionState.h"

#include "conversion/KeyTable.h"

TConversionState::TConversionState() { StringSplit.pattern = "="; }

void TConversionState::ClassifyKey(std::string_view key) { KeyCode = KeyCodeOf(key); }

std::int32_t TConversionState::StepProgress() {
    // Wraps like the classic counter rather than overflowing on a record of 2^31 lines.
    ProgressCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(ProgressCount) + 1u);
    // A listener hears every stride of steps, so a step costs one test when nobody listens and
    // the listener's own clock is read rarely when one does.
    if (StepListener != nullptr && ProgressCount % STEP_STRIDE == 0) {
        StepListener->Stepped(ProgressCount);
    }
    return ProgressCount;
}
