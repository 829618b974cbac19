#pragma once

#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/OutputText.h"
#include "conversion/Services.h"

#include <optional>
#include <string>
#include <string_view>

// What the pure part of a converter makes of one record: the output's text, when there is an
// output to write.
struct TConvertedRecord {
    // True when text is to be written; false when the record was rejected or the settings ask
    // for no output (the reason is then in the state's FailureReason).
    bool ready = false;
    // The output's lines, each followed by CR LF.
    TOutputText text;
};

// The bytes of the record file at path, for a conversion of the run under way. Nothing, with the
// reason in state.FailureReason, when the file is an output that this run wrote: the user's record
// that it replaced is then the backup. Throws TFileError (Open) when it cannot be read.
[[nodiscard]] std::optional<std::string> LoadRecord(const std::string& path,
                                                    TConversionState& state, TFileService& files);

// Writes text as the output of source: at source's path with its extension replaced by
// extension. An existing output (a file, or a link at its name, see TFileService::Taken: the link
// itself moves) first becomes the ".bak" file of the same stem, after an older ".bak" file has
// been deleted. When the existing output cannot be moved out of the way, or the ".bak" file is one
// that this run made (which holds a record of the user's), nothing is written, the reason goes to
// state.FailureReason and the result is false. Throws TFileError when the output cannot be
// written: the new bytes are written before any old file is touched, so the old files are then as
// they were (unless the very last rename fails, when the old output has already become the
// backup). The output and the backup are noted in state.RunFiles.
[[nodiscard]] bool WriteOutput(const std::string& source, std::string_view extension,
                               const TOutputText& text, TConversionState& state,
                               TFileService& files);
