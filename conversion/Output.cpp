#include "conversion/Output.h"

#include "conversion/FileError.h"
#include "conversion/Paths.h"
#include "conversion/Texts.h"

std::optional<std::string> LoadRecord(const std::string& path, TConversionState& state,
                                      TFileService& files) {
    // A file this run wrote holds no record of the user's; converting it would make its backup
    // replace the one that does. Its identity comes with its bytes, from the file opened once.
    std::optional<TFileId> identity;
    std::string bytes = files.LoadIdentified(path, identity);
    if (state.RunFiles.IsOutput(path, identity)) {
        state.FailureReason = texts::WRITTEN_BY_THIS_RUN;
        return std::nullopt;
    }
    return bytes;
}

bool WriteOutput(const std::string& source, std::string_view extension, const TOutputText& text,
                 TConversionState& state, TFileService& files) {
    const std::string output = ChangeFileExt(source, extension);
    const std::string backup = ChangeFileExt(source, ".bak");
    // The new output is written in full before any old file is touched, so a failed write leaves
    // the files as they were.
    std::optional<TFileId> identity;
    // A link at the output's name, one that leads nowhere as well as one that leads to a file,
    // goes to the backup as a file would; what it leads to is never touched.
    if (!files.Taken(output)) {
        if (!files.SaveNew(output, text, identity)) {
            throw TFileError(TFileErrorKind::Create, output);  // a file took the name meanwhile
        }
    } else {
        if (state.RunFiles.IsBackup(backup, files.Identity(backup))) {
            state.FailureReason = texts::KEEPS_BACKUP_OF_THIS_RUN;
            return false;
        }
        const std::string temporary = files.SaveTemporary(output, text, TDurability::Plain);
        if (files.Taken(backup)) {
            (void)files.Delete(backup);  // a failure shows in the rename below
        }
        // The earlier output is never overwritten: when it cannot become the backup, nothing is
        // written and the user still has it.
        if (!files.Rename(output, backup)) {
            (void)files.Delete(temporary);
            state.FailureReason = texts::CANNOT_BACK_UP;
            return false;
        }
        state.RunFiles.AddBackup(backup, files.Identity(backup));
        if (!files.Rename(temporary, output)) {
            (void)files.Delete(temporary);
            throw TFileError(TFileErrorKind::Create, output);
        }
        identity = files.Identity(output);
    }
    state.RunFiles.AddOutput(output, identity);
    state.FailureReason.clear();
    return true;
}
