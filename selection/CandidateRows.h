#pragma once

#include <string>
#include <vector>

// One row of the main window's candidate list: a file name and its directory, both as the file
// system spells them.
struct TCandidateRow {
    std::string name;
    std::string directory;
    friend bool operator==(const TCandidateRow&, const TCandidateRow&) = default;
};

// What the add-files dialog uses of the main window's candidate list (FileListView). Rows count
// from 0; a row's caption is its file name and its first sub-item its directory.
class TCandidateRows {
public:
    virtual ~TCandidateRows() = default;
    virtual int RowCount() const = 0;
    virtual std::string Caption(int row) const = 0;
    virtual std::string SubItem(int row) const = 0;
    // Appends rows after the last row, in order, in one batch update (the list repaints once, at
    // its end); no row is selected by it.
    virtual void AppendRows(const std::vector<TCandidateRow>& rows) = 0;
};
