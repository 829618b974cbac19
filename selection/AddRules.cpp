#include "selection/AddRules.h"

#include "conversion/Text.h"

#include <functional>
#include <unordered_set>

namespace {

struct TRowHash {
    std::size_t operator()(const TCandidateRow& row) const {
        const std::hash<std::string> hash;
        return hash(row.name) * 31 + hash(row.directory);
    }
};

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

}  // namespace

bool CanBeRow(const TCandidateRow& row) {
    return !HasLineBreak(row.name) && !HasLineBreak(row.directory);
}

std::vector<bool> AlreadyListed(const TCandidateRows& rows,
                                const std::vector<TCandidateRow>& candidates) {
    // A set instead of comparing every candidate with every row: adding a folder of ten thousand
    // records to a list that holds them already stays instant.
    std::unordered_set<TCandidateRow, TRowHash> seen;
    const int count = rows.RowCount();
    seen.reserve(static_cast<std::size_t>(count) + candidates.size());
    for (int row = 0; row < count; ++row) {
        seen.insert(TCandidateRow{rows.Caption(row), rows.SubItem(row)});
    }
    std::vector<bool> listed;
    listed.reserve(candidates.size());
    for (const TCandidateRow& candidate : candidates) {
        listed.push_back(!seen.insert(candidate).second);
    }
    return listed;
}

std::vector<TCandidateRow> RowsToAdd(const TCandidateRows& rows,
                                     const std::vector<TCandidateRow>& candidates) {
    const std::vector<bool> listed = AlreadyListed(rows, candidates);
    std::vector<TCandidateRow> added;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (!listed[i]) {
            added.push_back(candidates[i]);
        }
    }
    return added;
}

std::vector<TCandidateRow> RowsToAdd(const TCandidateRows& rows,
                                     const std::vector<std::string>& names,
                                     const std::string& directory) {
    std::vector<TCandidateRow> candidates;
    candidates.reserve(names.size());
    for (const std::string& name : names) {
        candidates.push_back(TCandidateRow{name, directory});
    }
    return RowsToAdd(rows, candidates);
}

std::string ListedName(std::string_view text, TNameCase nameCase) {
    return nameCase == TNameCase::Lower ? AnsiLower(text) : std::string(text);
}

std::string FileCountText(std::size_t count, std::size_t unlisted) {
    std::string text =
        count == 0 ? std::string() : std::to_string(count) + "個の棋譜ファイルがありました";
    if (unlisted > 0) {
        text += "（" + std::to_string(unlisted) + "個は名前に改行があるので一覧にありません）";
    }
    return text;
}

std::vector<std::string> FileCountForms(std::size_t count, std::size_t unlisted) {
    if (unlisted == 0) {
        return {FileCountText(count)};
    }
    const std::string counted = FileCountText(count);
    const std::string left = std::to_string(unlisted);
    return {FileCountText(count, unlisted), counted + "（改行のある名前" + left + "個は除外）",
            counted + "（除外" + left + "個）", counted};
}

std::vector<std::string> LeftOutForms(std::optional<std::size_t> added, std::size_t notRecords,
                                      std::size_t unstorable) {
    const std::size_t left = notRecords + unstorable;
    std::vector<std::string> forms{LeftOutText(notRecords, unstorable)};
    std::string compact;
    if (added) {
        compact = "（追加" + std::to_string(*added) + "個" +
                  (left > 0 ? "、除外" + std::to_string(left) + "個" : std::string()) + "）";
        forms.push_back(compact);
    }
    forms.push_back(left > 0 ? "（除外" + std::to_string(left) + "個）" : std::string());
    return forms;
}

std::string LeftOutText(std::size_t notRecords, std::size_t unstorable) {
    std::string text;
    if (notRecords > 0) {
        text +=
            "（" + std::to_string(notRecords) + "個は棋譜ファイルではないので追加しませんでした）";
    }
    if (unstorable > 0) {
        text += "（" + std::to_string(unstorable) + "個は名前に改行があるので追加しませんでした）";
    }
    return text;
}
