#pragma once

#include "conversion/ConversionState.h"
#include "conversion/FileError.h"
#include "conversion/Paths.h"
#include "conversion/Services.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which converter a record file goes to.
enum class TRecordKind { Sgf, Ugf, Other };

// The extensions of record files and the kind each names: ".sgf" Sgf; ".ugf" and ".ugi" (the
// name the newer UGF form often carries) Ugf.
struct TRecordExtension {
    std::string_view extension;
    TRecordKind kind;
};
inline constexpr TRecordExtension RECORD_EXTENSIONS[] = {
    {".sgf", TRecordKind::Sgf}, {".ugf", TRecordKind::Ugf}, {".ugi", TRecordKind::Ugf}};

// The kind that the extension of path names (see RECORD_EXTENSIONS), ASCII letter case ignored
// ('.SGF', '.Sgf'); anything else Other. The output takes the other extension in lower case
// ('GAME.SGF' gives 'GAME.ugf').
TRecordKind RecordKindOf(std::string_view path, TPathStyle style = NATIVE_PATH_STYLE);

// The file-name masks of the records of kind ("*.ugf", "*.ugi" for Ugf); of every record for
// Other.
std::vector<std::string> RecordMasks(TRecordKind kind);

// The row to select after row deleted went and rowsLeft rows stayed: the row that took its place,
// or the new last row when it was the last; none when no row is left.
std::optional<int> RowAfterDeletion(int deleted, int rowsLeft);

// How one record file's conversion ended.
struct TRowOutcome {
    bool converted = false;
    // The error that ended the conversion, empty when it ended in true or false.
    TUserText error;
    // Why it was not converted, for the user: the error, or the reason the converter gave for its
    // false; empty when converted or when no reason was given.
    TUserText reason;
};

// What the output of an SGF record converted with notes leaves out, as the window says it after
// the conversion of one row (Shift-JIS); empty when it leaves out nothing.
std::string LeftOutText(const TSgfNotes& notes);

// Converts one record file of kind Sgf or Ugf as one row of a run: ProgressCount starts at 0 and
// the converter of the kind runs. An error it throws counts as a failed conversion and is
// returned, never thrown.
TRowOutcome ConvertRow(const std::string& path, TRecordKind kind, TConversionState& state,
                       TConverterService& converters);

// The two conversion runs over the candidate list of the main window.
class TConversionRun {
public:
    TConversionRun(TConversionState& state, TCandidateService& candidates,
                   TProgressService& progress, TMessageService& messages,
                   TConverterService& converters);

    // Converts the selected row; on success the row goes and the row now at its place (or the new
    // last row) is selected, on failure it stays selected with its reason. One message tells the
    // outcome, and the reason of a failure under it.
    void SelConvBtnClick();
    // Converts every row top to bottom, tells once that all is done, and leaves only the rows
    // that failed, in their order, each with its reason.
    void ConvBtnClick();
    // The program is asked to end: the run under way (or the next) ends once the record under way
    // is converted, without its closing message; a full run leaves the rows that failed and those
    // it did not reach, in their order.
    void RequestEnd() { m_endRequested = true; }

private:
    void ShowCaptionFor(const std::string& path);
    void RefreshListState();

    TConversionState& m_state;
    TCandidateService& m_candidates;
    TProgressService& m_progress;
    TMessageService& m_messages;
    TConverterService& m_converters;
    bool m_endRequested = false;
};
