#include "conversion/Output.h"

#include "conversion/FileError.h"
#include "conversion/Paths.h"
#include "conversion/Texts.h"

bool WriteOutput(const std::string& source, std::string_view extension, const TLineList& lines,
                 TConversionState& state, TFileService& files) {
    const std::string output = ChangeFileExt(source, extension);
    const std::string backup = ChangeFileExt(source, ".bak");
    // The new output is written in full before any old file is touched, so a failed write leaves
    // the files as they were.
    const std::string temporary = files.SaveTemporary(output, JoinLines(lines));
    if (files.Exists(output)) {
        if (files.Exists(backup)) {
            (void)files.Delete(backup);  // a failure shows in the rename below
        }
        // The earlier output is never overwritten: when it cannot become the backup, nothing is
        // written and the user still has it.
        if (!files.Rename(output, backup)) {
            (void)files.Delete(temporary);
            state.FailureReason = texts::CANNOT_BACK_UP;
            return false;
        }
    }
    if (!files.Rename(temporary, output)) {
        (void)files.Delete(temporary);
        throw TFileError(TFileErrorKind::Create, output);
    }
    state.FailureReason.clear();
    return true;
}
