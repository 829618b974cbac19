#include "conversion/Output.h"

#include "conversion/Paths.h"
#include "conversion/Texts.h"

bool WriteOutput(const std::string& source, std::string_view extension, const TLineList& lines,
                 TConversionState& state, TFileService& files) {
    const std::string output = ChangeFileExt(source, extension);
    const std::string backup = ChangeFileExt(source, ".bak");
    if (files.Exists(output)) {
        if (files.Exists(backup)) {
            (void)files.Delete(backup);  // a failure shows in the rename below
        }
        // The earlier output is never overwritten: when it cannot become the backup, nothing is
        // written and the user still has it.
        if (!files.Rename(output, backup)) {
            state.FailureReason = texts::CANNOT_BACK_UP;
            return false;
        }
    }
    files.Save(output, JoinLines(lines));
    state.FailureReason.clear();
    return true;
}
