#pragma once

// What the directory listing asks of the operating system: the directory search, the facts of one
// entry, and the user locale's order of texts. Platform.cpp is the only file of selection/ that
// calls the system for them.

#include "selection/FileList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// One entry a directory search returned.
struct TFoundEntry {
    // As the file system spells it.
    std::string name;
    // ATTR_* bits the search knows: on POSIX the directory and hidden bits only.
    std::uint32_t attr = 0;
    // True when info holds all of the entry (the Windows search reports everything at once).
    bool complete = false;
    TInfo info;
};

// A directory search over a pattern: a folder, then a wildcard mask as its last part. It skips
// entries that carry an attribute bit of excluded. It never opens an entry, so a FIFO or device
// in the folder costs what any file costs, and it never looks into subfolders. The search ends
// when the object goes, whatever happened.
class TDirectorySearch {
public:
    TDirectorySearch(const std::string& pattern, std::uint32_t excluded);
    ~TDirectorySearch();
    TDirectorySearch(const TDirectorySearch&) = delete;
    TDirectorySearch& operator=(const TDirectorySearch&) = delete;

    // The next entry, in the platform's order. False after the last one, and at once when the
    // folder does not exist or cannot be read.
    bool Next(TFoundEntry& entry);
    // The folder part of the pattern, its last separator included; joined with an entry's name it
    // names the entry.
    const std::string& Folder() const { return m_folder; }

private:
    struct TState;
    std::unique_ptr<TState> m_state;
    std::string m_folder;
    std::uint32_t m_excluded;
};

// The facts of the entry at path (a search's Folder() + name) beside the bits the search found.
// POSIX: an entry the user cannot write, or that no one may write by its mode, is read-only.
// An entry that cannot be read any more keeps the found bits and zeros.
TInfo ReadEntryInfo(const std::string& path, std::uint32_t foundAttr);

// A sort key: a run of units compared one by one as unsigned numbers.
#ifdef _WIN32
using TSortKeyUnit = char;
#else
using TSortKeyUnit = wchar_t;
#endif
using TSortKeys = std::basic_string<TSortKeyUnit>;

// Appends to keys the sort key of text in the user locale with letter case ignored: two keys
// compare as the locale compares the two texts. Any bytes give a key, text of the locale's
// encoding or not.
void AppendSortKey(std::string_view text, TSortKeys& keys);
