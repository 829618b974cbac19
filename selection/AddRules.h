#pragma once

// The add-files dialog's decisions that need no window: which files become rows, how a listed
// name is shown, and the count in its status bar. Files given on the command line or dropped on
// the list go through the same rules.

#include "selection/CandidateRows.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// True when a file can be a row: neither its name nor its folder holds a line break (CR or LF),
// which the stored list, one path a line, could not keep.
bool CanBeRow(const TCandidateRow& row);

// For each candidate, whether it is a row of rows already or repeats an earlier candidate: same
// name and same directory, each compared byte for byte (letter case counts, and "/kifu" is not
// "/kifu/"). Reads every row once, so the time grows with rows plus candidates.
std::vector<bool> AlreadyListed(const TCandidateRows& rows,
                                const std::vector<TCandidateRow>& candidates);

// The candidates that AlreadyListed does not mark, in their order: the rows to append. Candidates
// that cannot be rows (CanBeRow) are for the caller to leave out first.
std::vector<TCandidateRow> RowsToAdd(const TCandidateRows& rows,
                                     const std::vector<TCandidateRow>& candidates);

// The same for names of one directory, directory exactly as the user's text holds it.
std::vector<TCandidateRow> RowsToAdd(const TCandidateRows& rows,
                                     const std::vector<std::string>& names,
                                     const std::string& directory);

// How the dialog shows and adds listed names. Where names are case-sensitive they are kept as the
// directory spells them, since a lower-cased name would name another file; Windows lower-cases.
enum class TNameCase { Keep, Lower };
#ifdef _WIN32
inline constexpr TNameCase NATIVE_NAME_CASE = TNameCase::Lower;
#else
inline constexpr TNameCase NATIVE_NAME_CASE = TNameCase::Keep;
#endif

// An entry text as the dialog lists it: Lower maps ASCII letters only, never the trail byte of a
// Shift-JIS character, as the ANSI lower-casing of code page 932 does.
std::string ListedName(std::string_view text, TNameCase nameCase = NATIVE_NAME_CASE);

// The status text for count listed files (UTF-8): "5個の棋譜ファイルがありました"; empty for 0.
// unlisted files of the folder that match the mask but cannot be rows add
// "（1個は名前に改行があるので一覧にありません）".
std::string FileCountText(std::size_t count, std::size_t unlisted = 0);

// The forms of the status text for count listed files of which unlisted cannot be rows, the
// whole text (FileCountText) first, then shorter ones for a status line too narrow for it:
// "（改行のある名前1個は除外）", then "（除外1個）" after the count, then the count alone.
std::vector<std::string> FileCountForms(std::size_t count, std::size_t unlisted);

// What is said of files handed to the program that did not become rows (UTF-8), after the
// sentence that tells the rows: "（3個は棋譜ファイルではないので追加しませんでした）" for files
// that are no records, "（1個は名前に改行があるので追加しませんでした）" for names with a line
// break; empty when nothing was left out.
std::string LeftOutText(std::size_t notRecords, std::size_t unstorable);

// The forms of what is said after the sentence that tells the rows, of added rows (none: the
// sentence does not tell them) and the files left out, the whole text (LeftOutText) first, then
// shorter ones: "（追加5個、除外2個）", then "（除外2個）" or nothing.
std::vector<std::string> LeftOutForms(std::optional<std::size_t> added, std::size_t notRecords,
                                      std::size_t unstorable);
