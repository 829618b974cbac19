#pragma once

#include "conversion/FileOps.h"

#include <optional>
#include <set>
#include <string>
#include <string_view>

// What one conversion run has written so far: the outputs and the backups it made. A run reads no
// output of its own as a record of the user's and deletes or replaces no backup it made, so every
// record it found is still in a file when it ends, whatever rows or arguments name the same file
// twice. A file is known by its identity and by its path as given (letter case ignored where
// Windows ignores it), so that a second spelling or a file system without stable identities still
// meets one of the two.
class TRunFiles {
public:
    // Forgets everything, at the start of a run.
    void Clear();

    // Notes the output written at path (id: its identity, nothing when it was not to be had).
    void AddOutput(std::string_view path, std::optional<TFileId> id);
    // Notes a backup made at path.
    void AddBackup(std::string_view path, std::optional<TFileId> id);

    // True when the file at path (of identity id) is an output of this run.
    bool IsOutput(std::string_view path, std::optional<TFileId> id) const;
    // True when the file at path (of identity id) is a backup this run made.
    bool IsBackup(std::string_view path, std::optional<TFileId> id) const;

private:
    struct TKnown {
        std::set<std::string> paths;
        std::set<TFileId> ids;
        void Add(std::string_view path, std::optional<TFileId> id);
        bool Has(std::string_view path, std::optional<TFileId> id) const;
    };
    TKnown m_outputs;
    TKnown m_backups;
};
