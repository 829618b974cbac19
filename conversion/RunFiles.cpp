#include "conversion/RunFiles.h"

#include "conversion/Paths.h"
#include "conversion/Text.h"

namespace {

// The path as the run compares it: Windows finds "A.SGF" under the name "a.sgf".
std::string Key(std::string_view path) {
    return NATIVE_PATH_STYLE == TPathStyle::Windows ? AnsiLower(path) : std::string(path);
}

}  // namespace

void TRunFiles::Clear() {
    m_outputs = {};
    m_backups = {};
}

void TRunFiles::AddOutput(std::string_view path, std::optional<TFileId> id) {
    m_outputs.Add(path, id);
}

void TRunFiles::AddBackup(std::string_view path, std::optional<TFileId> id) {
    m_backups.Add(path, id);
}

bool TRunFiles::IsOutput(std::string_view path, std::optional<TFileId> id) const {
    return m_outputs.Has(path, id);
}

bool TRunFiles::IsBackup(std::string_view path, std::optional<TFileId> id) const {
    return m_backups.Has(path, id);
}

void TRunFiles::TKnown::Add(std::string_view path, std::optional<TFileId> id) {
    paths.insert(Key(path));
    if (id) {
        ids.insert(*id);
    }
}

bool TRunFiles::TKnown::Has(std::string_view path, std::optional<TFileId> id) const {
    return paths.count(Key(path)) > 0 || (id && ids.count(*id) > 0);
}
