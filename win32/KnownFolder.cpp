#include "win32/KnownFolder.h"

#include "win32/CodePage932.h"

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path))) {
        folder = path;
    }
    CoTaskMemFree(path);
    while (!folder.empty() && folder.back() == L'\\') {
        folder.pop_back();
    }
    return folder;
}

std::string CodePage932Folder(const std::wstring& folder) {
    std::string name;
    if (folder.empty() || FromWideStrictly(folder, name)) {
        return name;
    }
    const DWORD room = GetShortPathNameW(folder.c_str(), nullptr, 0);
    std::wstring shortName(room, L'\0');
    const DWORD length = GetShortPathNameW(folder.c_str(), shortName.data(), room);
    shortName.resize(length < room ? length : 0);
    if (shortName.empty() || !FromWideStrictly(shortName, name)) {
        return {};
    }
    return name;
}
