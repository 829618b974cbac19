#pragma once

#include "conversion/ConversionSettings.h"
#include "conversion/LineList.h"
#include "conversion/PatExtract.h"
#include "conversion/RunFiles.h"
#include "conversion/SGFAdjust.h"
#include "conversion/StringSplit.h"
#include "conversion/UserText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Hears the work steps while a converter runs, so that a window can show them as they go.
class TStepListener {
public:
    virtual ~TStepListener() = default;
    // Called with the new ProgressCount once every STEP_STRIDE steps.
    virtual void Stepped(std::int32_t count) = 0;
};

// What the last SGF record converted showed of itself, for a report line.
struct TSgfNotes {
    // The encoding it was read in, when its bytes were turned into Shift-JIS; empty otherwise.
    std::string encoding;
    // Characters that Shift-JIS has no form for, each written as "?".
    std::size_t replaced = 0;
    // Variations off the main line and games after the first, which the output leaves out.
    std::size_t variations = 0;
    std::size_t games = 0;
    // The encoding was told from the bytes: no CA named it.
    bool toldFromBytes = false;
};

// The state that the conversion run and both converters share, held by the main window (or the
// command-line tool) for as long as it lives.
class TConversionState {
public:
    TConversionState();

    // Result of the last ClassifyKey.
    std::uint8_t KeyCode = 0;
    // The program's folder (where its list and settings are kept), with its trailing separator.
    std::string ExeDir;
    // The user's settings, which the conversions read and never change.
    TConversionSettings Settings;
    // Work steps of the file being converted.
    std::int32_t ProgressCount = 0;
    // Diagnostic lines, only ever appended to.
    TDiagnosticLines TempMemo;
    // Why the last converter call gave false (Shift-JIS); empty after a true.
    std::string FailureReason;
    // What the last SGF to UGF conversion noticed about its record.
    TSgfNotes SgfNotes;
    // The outputs and backups of the run under way; each run clears it at its start.
    TRunFiles RunFiles;

    TStringSplit StringSplit;
    TPatExtract PatExtract;
    TSGFAdjust SGFAdjust;

    // Sets KeyCode to the code of key (see KeyCodeOf).
    void ClassifyKey(std::string_view key);
    // Told of every STEP_STRIDE-th step; none when null.
    TStepListener* StepListener = nullptr;
    static constexpr std::int32_t STEP_STRIDE = 64;

    // Adds 1 to ProgressCount and returns the new value. A step of every entry of a record: kept
    // inline.
    std::int32_t StepProgress() {
        // Wraps like the classic counter rather than overflowing on a record of 2^31 lines.
        ProgressCount = static_cast<std::int32_t>(static_cast<std::uint32_t>(ProgressCount) + 1u);
        // A listener hears every stride of steps, so a step costs one test when nobody listens
        // and the listener's own clock is read rarely when one does.
        if (StepListener != nullptr && ProgressCount % STEP_STRIDE == 0) {
            StepListener->Stepped(ProgressCount);
        }
        return ProgressCount;
    }
};
