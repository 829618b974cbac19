#pragma once

#include "conversion/Services.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Recording fakes of the services. All of them write to one log, one line per call, so a test can
// compare the order of calls across services.
using TLog = std::vector<std::string>;

class TFakeProgress : public TProgressService {
public:
    explicit TFakeProgress(TLog& log) : m_log(log) {}
    void Show() override;
    void Close() override;
    void SetCaption(const TUserText& caption) override;
    void SetBar(TBar bar, TBarField field, int value) override;
    int GetBar(TBar bar, TBarField field) const override;
    void SetTimer(bool enabled) override;

private:
    TLog& m_log;
    int m_values[2][3] = {};
};

class TFakeCandidates : public TCandidateService {
public:
    explicit TFakeCandidates(TLog& log) : m_log(log) {}
    int RowCount() const override;
    std::optional<int> SelectedRow() const override;
    std::string Caption(int row) const override;
    std::string SubItem(int row) const override;
    void DeleteRow(int row) override;
    void Clear() override;
    void AppendRow(std::string_view name, std::string_view directory) override;
    void SetReason(int row, const TUserText& reason) override;
    void SelectRow(int row) override;
    void Focus() override;
    void UpdateButtons() override;
    void UpdateStatusLine() override;

    // name, directory
    std::vector<std::pair<std::string, std::string>> rows;
    std::optional<int> selected;

private:
    TLog& m_log;
};

class TFakeMessages : public TMessageService {
public:
    explicit TFakeMessages(TLog& log) : m_log(log) {}
    void Info(const TUserText& text) override;
    void Error(const TUserText& text) override;

private:
    TLog& m_log;
};

// Files in memory. Paths in directories can stand in the way of a file of the same name; failures
// are injected per path.
class TFakeFiles : public TFileService {
public:
    explicit TFakeFiles(TLog& log) : m_log(log) {}
    bool Exists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    // Each file has an identity of its own, which goes with it when it is renamed.
    std::optional<TFileId> Identity(const std::string& path) override;
    bool Delete(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Replace(const std::string& from, const std::string& to) override;
    std::string Load(const std::string& path) override;
    // Saves to path + ".tmp" (logged with "kept" for TDurability::Kept); throws for a path in
    // unwritable or in directories.
    using TFileService::SaveTemporary;
    std::string SaveTemporary(const std::string& path, const TWritable& content,
                              TDurability durability) override;

    std::map<std::string, std::string> files;
    std::set<std::string> directories;
    std::set<std::string> unreadable;
    std::set<std::string> unwritable;
    // Files that cannot be renamed away.
    std::set<std::string> unmovable;

private:
    TLog& m_log;
    std::map<std::string, std::uint64_t> m_ids;
    std::uint64_t m_nextId = 1;
};

// One of each fake, sharing one log.
struct TFakeServices {
    TLog log;
    TFakeProgress progress{log};
    TFakeCandidates candidates{log};
    TFakeMessages messages{log};
    TFakeFiles files{log};
};
