#include "selection/Platform.h"

#ifdef _WIN32

#include "conversion/Text.h"
#include "win32/CodePage932.h"
#include "win32/Windows.h"

// Names are code page 932 whatever the system's code page is, so the search goes through the wide
// functions: a Japanese folder lists on a Windows of any code page.

namespace {

TInfo InfoOf(const WIN32_FIND_DATAW& data) {
    TInfo info;
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) &&
        FileTimeToDosDateTime(&local, &date, &time)) {
        info.Time = static_cast<std::int32_t>((static_cast<std::uint32_t>(date) << 16) | time);
    }
    info.Size = static_cast<std::int32_t>(data.nFileSizeLow);
    info.Attr = static_cast<std::int32_t>(data.dwFileAttributes);
    return info;
}

}  // namespace

struct TDirectorySearch::TState {
    HANDLE handle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW data{};
    bool pending = false;  // data holds an entry not yet returned
};

TDirectorySearch::TDirectorySearch(const std::string& pattern, std::uint32_t excluded)
    : m_state(std::make_unique<TState>()), m_excluded(excluded) {
    // The folder ends at the last single-byte "\", "/" or ":": the trail byte of 表 is no "\".
    std::size_t end = 0;
    for (std::size_t i = 0; i < pattern.size(); i += CharLength(pattern, i)) {
        const char c = pattern[i];
        if (CharLength(pattern, i) == 1 && (c == '\\' || c == '/' || c == ':')) {
            end = i + 1;
        }
    }
    m_folder = pattern.substr(0, end);
    std::wstring wide;
    if (ToWideStrictly(pattern, wide)) {
        m_state->handle = FindFirstFileW(wide.c_str(), &m_state->data);
    }
    m_state->pending = m_state->handle != INVALID_HANDLE_VALUE;
}

TDirectorySearch::~TDirectorySearch() {
    if (m_state->handle != INVALID_HANDLE_VALUE) {
        FindClose(m_state->handle);
    }
}

bool TDirectorySearch::Next(TFoundEntry& entry) {
    while (m_state->pending) {
        const WIN32_FIND_DATAW& data = m_state->data;
        const bool skipped = (data.dwFileAttributes & m_excluded) != 0 ||
                             !FromWideStrictly(data.cFileName, entry.name);
        if (!skipped) {
            entry.attr = data.dwFileAttributes;
            entry.complete = true;
            entry.info = InfoOf(data);
        }
        m_state->pending = FindNextFileW(m_state->handle, &m_state->data) != 0;
        if (!skipped) {
            return true;
        }
    }
    return false;
}

TInfo ReadEntryInfo(const std::string& path, std::uint32_t foundAttr) {
    WIN32_FIND_DATAW data;
    std::wstring wide;
    const HANDLE handle =
        ToWideStrictly(path, wide) ? FindFirstFileW(wide.c_str(), &data) : INVALID_HANDLE_VALUE;
    if (handle == INVALID_HANDLE_VALUE) {
        TInfo info;
        info.Attr = static_cast<std::int32_t>(foundAttr);
        return info;
    }
    FindClose(handle);
    return InfoOf(data);
}

void AppendSortKey(std::string_view text, TSortKeys& keys) {
    // The key of CompareStringW with NORM_IGNORECASE over the text read as code page 932: a
    // string of bytes that ends in a NUL, which the caller's own framing makes unnecessary.
    const std::wstring wide = WideFromCodePage932(text);
    const int length = static_cast<int>(wide.size());
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int size = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), length, nullptr, 0);
    if (size <= 0) {
        keys.append(text);
        return;
    }
    const std::size_t start = keys.size();
    keys.resize(start + static_cast<std::size_t>(size));
    LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), length,
                 reinterpret_cast<LPWSTR>(keys.data() + start), size);
    while (keys.size() > start && keys.back() == '\0') {
        keys.pop_back();
    }
}

#else

#include "selection/Wildcard.h"

#include <ctime>
#include <cwchar>
#include <cwctype>
#include <dirent.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Whether the entry is a directory, by what readdir says, or by a look at what a link or an
// entry of unknown type leads to.
bool IsDirectory(DIR* dir, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) {
        return false;
    }
    struct stat status;
    return fstatat(dirfd(dir), entry.d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
}

std::int32_t DosDateTime(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return 0;
    }
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) {
        return 0;
    }
    const auto date = static_cast<std::uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) |
                                                 local.tm_mday);
    const auto clock = static_cast<std::uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                                  (local.tm_sec / 2));
    return static_cast<std::int32_t>((date << 16) | clock);
}

// The user's locale for the order and the letter case of names, as the environment sets it;
// the C locale when that one is not installed. Made once and kept for the whole run.
locale_t UserLocale() {
    static const locale_t locale = [] {
        constexpr int CATEGORIES = LC_COLLATE_MASK | LC_CTYPE_MASK;
        const locale_t user = newlocale(CATEGORIES, "", nullptr);
        return user != nullptr ? user : newlocale(CATEGORIES, "C", nullptr);
    }();
    return locale;
}

}  // namespace

struct TDirectorySearch::TState {
    DIR* dir = nullptr;
    std::string mask;
};

TDirectorySearch::TDirectorySearch(const std::string& pattern, std::uint32_t excluded)
    : m_state(std::make_unique<TState>()), m_excluded(excluded) {
    const std::size_t slash = pattern.rfind('/');
    m_folder = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
    m_state->mask = pattern.substr(slash == std::string::npos ? 0 : slash + 1);
    // opendir refuses anything but a directory without waiting, a FIFO included.
    m_state->dir = opendir(m_folder.empty() ? "." : m_folder.c_str());
}

TDirectorySearch::~TDirectorySearch() {
    if (m_state->dir != nullptr) {
        closedir(m_state->dir);
    }
}

bool TDirectorySearch::Next(TFoundEntry& entry) {
    if (m_state->dir == nullptr) {
        return false;
    }
    while (const dirent* found = readdir(m_state->dir)) {
        const std::string_view name = found->d_name;
        if (!MatchesMask(name, m_state->mask)) {
            continue;
        }
        // A name that starts with "." is hidden, but for the folder's own "." and "..", which
        // the Windows search returns as plain directories.
        std::uint32_t attr = name[0] == '.' && name != "." && name != ".." ? ATTR_HIDDEN : 0;
        if ((attr & m_excluded) != 0) {
            continue;
        }
        attr |= IsDirectory(m_state->dir, *found) ? ATTR_DIRECTORY : 0;
        if ((attr & m_excluded) != 0) {
            continue;
        }
        entry.name.assign(name);
        entry.attr = attr;
        entry.complete = false;
        entry.info = TInfo{};
        return true;
    }
    return false;
}

TInfo ReadEntryInfo(const std::string& path, std::uint32_t foundAttr) {
    TInfo info;
    info.Attr = static_cast<std::int32_t>(foundAttr);
    struct stat status;
    // A link that leads nowhere is still an entry of the folder: its own facts then.
    const bool followed = stat(path.c_str(), &status) == 0;
    if (!followed && lstat(path.c_str(), &status) != 0) {
        return info;
    }
    info.Time = DosDateTime(status.st_mtime);
    info.Size = static_cast<std::int32_t>(static_cast<std::uint32_t>(status.st_size));
    // No write bit at all marks an entry read-only even for root, who may write anything, as the
    // Windows read-only bit holds for administrators too.
    const bool readOnly = (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                          (followed && access(path.c_str(), W_OK) != 0);
    if (readOnly) {
        info.Attr |= static_cast<std::int32_t>(ATTR_READ_ONLY);
    }
    return info;
}

void AppendSortKey(std::string_view text, TSortKeys& keys) {
    const locale_t locale = UserLocale();
    // mbrtowc has no variant that takes a locale: this thread uses the user's for the call.
    const locale_t previous = uselocale(locale);
    thread_local std::wstring folded;
    folded.clear();
    std::mbstate_t state{};
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        wchar_t c = byte;
        std::size_t length = 1;
        if (byte >= 0x80) {
            length = std::mbrtowc(&c, text.data() + i, text.size() - i, &state);
            if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2) ||
                length == 0) {
                // A byte that starts no character of the locale's encoding keeps a place of its
                // own (as U+DC80 to U+DCFF, as Python escapes it), so the name is still sorted.
                c = static_cast<wchar_t>(0xDC00 | byte);
                length = 1;
                state = std::mbstate_t{};
            }
        }
        folded.push_back(static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), locale)));
        i += length;
    }
    const std::size_t start = keys.size();
    std::size_t room = folded.size() * 4 + 8;
    for (;;) {
        keys.resize(start + room + 1);
        const std::size_t needed = wcsxfrm_l(keys.data() + start, folded.c_str(), room + 1, locale);
        if (needed <= room) {
            keys.resize(start + needed);
            break;
        }
        room = needed;
    }
    uselocale(previous);
}

#endif
