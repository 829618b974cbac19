#include "conversion/Services.h"

#include "conversion/FileOps.h"
#include "conversion/Paths.h"

std::string TCandidateService::FullPath(int row) const {
    return JoinPath(SubItem(row), Caption(row));
}

bool TDiskFileService::Exists(const std::string& path) { return FileExists(path); }

bool TDiskFileService::FolderExists(const std::string& path) { return ::FolderExists(path); }

bool TDiskFileService::Taken(const std::string& path) { return FileOrLinkExists(path); }

std::optional<TFileId> TDiskFileService::Identity(const std::string& path) {
    return FileIdentity(path);
}

bool TDiskFileService::Delete(const std::string& path) { return RemoveFile(path); }

bool TDiskFileService::Rename(const std::string& from, const std::string& to) {
    return RenameFile(from, to);
}

bool TDiskFileService::Replace(const std::string& from, const std::string& to) {
    return MoveFileOver(from, to);
}

std::string TDiskFileService::Load(const std::string& path) { return LoadBytes(path); }

std::string TDiskFileService::LoadIdentified(const std::string& path,
                                             std::optional<TFileId>& identity) {
    return LoadBytes(path, &identity);
}

std::string TDiskFileService::SaveTemporary(const std::string& path, const TWritable& content,
                                            TDurability durability) {
    return SaveTemporaryBeside(path, content, durability);
}

bool TDiskFileService::SaveNew(const std::string& path, const TWritable& content,
                               std::optional<TFileId>& identity) {
    return SaveNewFile(path, content, identity);
}

void TSilentProgress::SetBar(TBar bar, TBarField field, int value) {
    m_values[static_cast<int>(bar)][static_cast<int>(field)] = value;
}

int TSilentProgress::GetBar(TBar bar, TBarField field) const {
    return m_values[static_cast<int>(bar)][static_cast<int>(field)];
}
