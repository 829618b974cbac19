#pragma once

#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/Output.h"
#include "conversion/Services.h"

#include <string>
#include <string_view>

// The SGF text of one UGF record (its lines as SplitLines cuts them), in the dialect that
// state.Settings.USGFApli picks (0 to 3), working on the shared state (KeyCode, ProgressCount,
// StringSplit, TempMemo, FailureReason) and driving ProgressBar1 (maximum: the line that ends the
// data, else the last line, never below 0) and Timer1. Reads both plain forms: the newer form's
// data lines end at the first section line after
// "[Data]", its "PlayerB" and "PlayerW" stand in for a missing "BMemb1" or "WMemb1", and with
// "CoordinateType" IGS its rows count from the bottom. Not ready, with a reason in FailureReason,
// when line 0 is not "[Header]", "Crypt" names no plain record (its value is added to TempMemo),
// "Lang" is not "SJIS", the handicap count is not a plain decimal (the reason is added to
// TempMemo), or the settings ask for no output. Touches no file.
TConvertedRecord ConvertUgfRecord(std::string_view text, TConversionState& state,
                                  TProgressService& progress);

// Converts the UGF file at path into an SGF file beside it (see WriteOutput). True exactly when
// the SGF file was written; false with a reason in state.FailureReason otherwise. Throws
// TFileError when the source cannot be read or the output cannot be written.
[[nodiscard]] bool ConvertUgfToSgf(const std::string& path, TConversionState& state,
                                   TProgressService& progress, TFileService& files);
