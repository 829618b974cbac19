#pragma once

#include "selection/CandidateRows.h"

#include <cstddef>
#include <string>
#include <vector>

// The main window's candidate list in memory: rows, every batch appended, and how many captions
// were read.
class TFakeCandidateRows : public TCandidateRows {
public:
    TFakeCandidateRows() = default;
    explicit TFakeCandidateRows(std::vector<TCandidateRow> initial) : rows(std::move(initial)) {}

    int RowCount() const override { return static_cast<int>(rows.size()); }
    std::string Caption(int row) const override {
        ++captionReads;
        return rows.at(static_cast<std::size_t>(row)).name;
    }
    std::string SubItem(int row) const override {
        return rows.at(static_cast<std::size_t>(row)).directory;
    }
    void AppendRows(const std::vector<TCandidateRow>& added) override {
        batches.push_back(added.size());
        rows.insert(rows.end(), added.begin(), added.end());
    }

    std::vector<TCandidateRow> rows;
    // The number of rows of each AppendRows call, in order.
    std::vector<std::size_t> batches;
    mutable int captionReads = 0;
};
