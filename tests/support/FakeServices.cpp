#include "tests/support/FakeServices.h"

#include "conversion/FileError.h"

namespace {

const char* BarName(TBar bar) {
    return bar == TBar::ProgressBar1 ? "ProgressBar1" : "ProgressBar2";
}

const char* FieldName(TBarField field) {
    switch (field) {
        case TBarField::Min:
            return "Min";
        case TBarField::Max:
            return "Max";
        case TBarField::Position:
            return "Position";
    }
    return "?";
}

}  // namespace

void TFakeProgress::Show() { m_log.push_back("Show"); }

void TFakeProgress::Close() { m_log.push_back("Close"); }

void TFakeProgress::SetCaption(const TUserText& caption) {
    m_log.push_back("Caption " + caption.Bytes());
}

void TFakeProgress::SetBar(TBar bar, TBarField field, int value) {
    m_values[static_cast<int>(bar)][static_cast<int>(field)] = value;
    m_log.push_back(std::string(BarName(bar)) + "." + FieldName(field) + "=" +
                    std::to_string(value));
}

int TFakeProgress::GetBar(TBar bar, TBarField field) const {
    return m_values[static_cast<int>(bar)][static_cast<int>(field)];
}

void TFakeProgress::SetTimer(bool enabled) {
    m_log.push_back(enabled ? "Timer1 on" : "Timer1 off");
}

int TFakeCandidates::RowCount() const { return static_cast<int>(rows.size()); }

std::optional<int> TFakeCandidates::SelectedRow() const { return selected; }

std::string TFakeCandidates::Caption(int row) const {
    return rows.at(static_cast<std::size_t>(row)).first;
}

std::string TFakeCandidates::SubItem(int row) const {
    return rows.at(static_cast<std::size_t>(row)).second;
}

void TFakeCandidates::DeleteRow(int row) {
    m_log.push_back("Delete " + std::to_string(row));
    rows.erase(rows.begin() + row);
    if (selected == row) {
        selected.reset();
    } else if (selected && *selected > row) {
        --*selected;
    }
}

void TFakeCandidates::Clear() {
    m_log.push_back("Clear");
    rows.clear();
    selected.reset();
}

void TFakeCandidates::AppendRow(std::string_view name, std::string_view directory) {
    m_log.push_back("Append " + std::string(name) + " | " + std::string(directory));
    rows.emplace_back(name, directory);
}

void TFakeCandidates::SelectRow(int row) {
    m_log.push_back("Select " + std::to_string(row));
    selected = row;
}

void TFakeCandidates::SetReason(int row, const TUserText& reason) {
    if (!reason.Empty()) {
        m_log.push_back("SetReason " + std::to_string(row) + " " + reason.Bytes());
    }
}

void TFakeCandidates::Focus() { m_log.push_back("Focus"); }

void TFakeCandidates::UpdateButtons() { m_log.push_back("UpdateButtons"); }

void TFakeCandidates::UpdateStatusLine() { m_log.push_back("UpdateStatusLine"); }

void TFakeMessages::Info(const TUserText& text) { m_log.push_back("Info " + text.Bytes()); }

void TFakeMessages::Error(const TUserText& text) { m_log.push_back("Error " + text.Bytes()); }

bool TFakeFiles::Exists(const std::string& path) { return files.count(path) > 0; }

bool TFakeFiles::FolderExists(const std::string& path) { return directories.count(path) > 0; }

std::optional<TFileId> TFakeFiles::Identity(const std::string& path) {
    if (!files.count(path)) {
        return std::nullopt;
    }
    auto [id, added] = m_ids.try_emplace(path, m_nextId);
    m_nextId += added ? 1 : 0;
    return TFileId{0, id->second};
}

bool TFakeFiles::Delete(const std::string& path) {
    m_log.push_back("Delete " + path);
    m_ids.erase(path);
    return files.erase(path) > 0;
}

bool TFakeFiles::Rename(const std::string& from, const std::string& to) {
    m_log.push_back("Rename " + from + " -> " + to);
    if (!files.count(from) || files.count(to) || directories.count(to) || unmovable.count(from)) {
        return false;
    }
    const std::uint64_t id = Identity(from)->file;
    files[to] = files[from];
    files.erase(from);
    m_ids.erase(from);
    m_ids[to] = id;
    return true;
}

bool TFakeFiles::Replace(const std::string& from, const std::string& to) {
    m_log.push_back("Replace " + from + " -> " + to);
    if (!files.count(from) || directories.count(to) || unmovable.count(from)) {
        return false;
    }
    const std::uint64_t id = Identity(from)->file;
    files[to] = files[from];
    files.erase(from);
    m_ids.erase(from);
    m_ids[to] = id;
    return true;
}

std::string TFakeFiles::Load(const std::string& path) {
    if (!files.count(path) || unreadable.count(path)) {
        throw TFileError(TFileErrorKind::Open, path);
    }
    return files[path];
}

std::string TFakeFiles::SaveTemporary(const std::string& path, const TWritable& content,
                                      TDurability durability) {
    m_log.push_back("SaveTemporary " + path + (durability == TDurability::Kept ? " kept" : ""));
    if (unwritable.count(path)) {
        throw TFileError(TFileErrorKind::Create, path);
    }
    std::string& bytes = files[path + ".tmp"];
    bytes.clear();
    (void)content.Write([&bytes](std::span<const std::string_view> pieces) {
        for (const std::string_view piece : pieces) {
            bytes += piece;
        }
        return true;
    });
    m_ids.erase(path + ".tmp");
    return path + ".tmp";
}
