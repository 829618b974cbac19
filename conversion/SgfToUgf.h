#pragma once

#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/Output.h"
#include "conversion/Services.h"

#include <string>
#include <string_view>

// The UGF text of one SGF record's lines, working on the shared state (PatExtract, StringSplit,
// KeyCode, ProgressCount, TempMemo, FailureReason, SgfNotes) and driving ProgressBar1 and
// Timer1. The lines are split as TSGFAdjust splits them, but walked twice (once to count the
// steps, once to build the output) without lists of entries, so state.SGFAdjust is not used. Not
// ready, with a reason in FailureReason, when the splitter rejects the text or the settings ask
// for no output. Touches no file.
TConvertedRecord ConvertSgfRecord(const TLineList& source, TConversionState& state,
                                  TProgressService& progress);

// The same for the lines of a Shift-JIS text (SplitLines), walked as views into it.
TConvertedRecord ConvertSgfText(std::string_view text, TConversionState& state,
                                TProgressService& progress);

// ConvertSgfText of an SGF file's bytes, after a record in another encoding than
// Shift-JIS was turned into Shift-JIS (see SgfRecordAsShiftJis): state.SgfNotes then names the
// encoding and counts the characters written as "?", which also go to TempMemo as one line. Not
// ready, with a reason, when this system cannot turn the record's encoding into Shift-JIS.
TConvertedRecord ConvertSgfBytes(std::string_view bytes, TConversionState& state,
                                 TProgressService& progress);

// Converts the SGF file at path into a UGF file beside it (see WriteOutput). True exactly when
// the UGF file was written; false with a reason in state.FailureReason otherwise. Throws
// TFileError when the source cannot be read or the output cannot be written.
[[nodiscard]] bool ConvertSgfToUgf(const std::string& path, TConversionState& state,
                                   TProgressService& progress, TFileService& files);
