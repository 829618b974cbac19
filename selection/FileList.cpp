#include "selection/FileList.h"

#include "selection/Platform.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <type_traits>
#include <utility>

namespace {

using TKey = std::basic_string_view<TSortKeyUnit>;

// A key unit as the unsigned number it is compared as.
std::uint64_t Number(TSortKeyUnit unit) {
    return static_cast<std::make_unsigned_t<TSortKeyUnit>>(unit);
}

struct TSortItem {
    std::uint64_t head;  // the first units of key, packed so that heads compare as keys do
    TKey key;
    std::size_t index;
};

// The order of texts in the user locale, letter case ignored; texts that compare equal go by
// their bytes. Each text gets its sort key once, so the sort compares numbers, not locale rules.
// Two things keep the comparisons short when a folder names its records alike: the units every
// key starts with are left out, and the next few units are packed into one number compared first.
std::vector<std::size_t> SortedOrder(const std::vector<std::string>& texts) {
    TSortKeys keys;
    std::vector<std::size_t> ends(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        AppendSortKey(texts[i], keys);
        ends[i] = keys.size();
    }
    std::vector<TSortItem> items(texts.size());
    std::size_t shared = std::numeric_limits<std::size_t>::max();
    std::uint64_t largest = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        const TKey key = TKey(keys).substr(begin, ends[i] - begin);
        items[i] = TSortItem{0, key, i};
        const TKey first = items[0].key.substr(0, std::min(shared, key.size()));
        shared = static_cast<std::size_t>(
            std::mismatch(first.begin(), first.end(), key.begin()).first - first.begin());
        for (const TSortKeyUnit unit : key) {
            largest = std::max(largest, Number(unit));
        }
    }
    // Each unit u is packed as u + 1, so a key that ends early (0) goes first.
    const int bits = std::bit_width(largest + 1);
    const std::size_t packed = static_cast<std::size_t>(64 / bits);
    for (TSortItem& item : items) {
        item.key.remove_prefix(shared);
        for (std::size_t k = 0; k < packed; ++k) {
            item.head = (item.head << bits) | (k < item.key.size() ? Number(item.key[k]) + 1 : 0);
        }
        item.key.remove_prefix(std::min(packed, item.key.size()));
    }
    std::sort(items.begin(), items.end(), [&](const TSortItem& a, const TSortItem& b) {
        if (a.head != b.head) {
            return a.head < b.head;
        }
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : texts[a.index] < texts[b.index];
    });
    std::vector<std::size_t> order;
    order.reserve(items.size());
    for (const TSortItem& item : items) {
        order.push_back(item.index);
    }
    return order;
}

}  // namespace

std::string SearchPattern(std::string_view directory, std::string_view mask, TPathStyle style) {
    // Not JoinPath: this rule looks at the length (Windows) or the whole text (POSIX), never at
    // the last character, so "C:\Go\" gets a second separator.
    const bool bare = style == TPathStyle::Windows ? directory.size() == 3 : directory == "/";
    std::string pattern(directory);
    if (!bare) {
        pattern += style == TPathStyle::Windows ? '\\' : '/';
    }
    pattern += mask;
    return pattern;
}

void TFileList::SetDirectory(std::string value) {
    if (value == m_directory) {
        return;
    }
    m_directory = std::move(value);
    RebuildList();
    NotifyDirChange();
}

void TFileList::SetFileType(TFileType value) {
    if (value == m_fileType) {
        return;
    }
    m_fileType = value;
    RebuildList();
}

void TFileList::SetMask(const std::vector<std::string>& lines) {
    if (&lines == &m_mask) {
        return;
    }
    m_mask = lines;
    RebuildList();
}

const TInfo& TFileList::Info(std::size_t index) const {
    TEntry& entry = m_entries.at(index);
    if (!entry.complete) {
        std::string name = m_files[index];
        if ((entry.info.Attr & ATTR_DIRECTORY) != 0) {
            name = name.substr(1, name.size() - 2);
        }
        entry.info = ReadEntryInfo(m_folders[entry.folder] + name,
                                   static_cast<std::uint32_t>(entry.info.Attr));
        entry.complete = true;
    }
    return entry.info;
}

void TFileList::RebuildList() {
    m_files.clear();
    m_entries.clear();
    m_folders.clear();
    const std::uint32_t wanted = m_fileType.Value();
    if (wanted == 0) {
        return;
    }
    // The search skips hidden, system, volume and directory entries the set does not ask for;
    // read-only and archive entries always come through it.
    const std::uint32_t excluded =
        ~wanted & (ATTR_HIDDEN | ATTR_SYSTEM | ATTR_VOLUME_ID | ATTR_DIRECTORY);
    const bool listAll = m_fileType.Contains(TFileAttr::ftNormal);

    std::vector<std::string> files;
    std::vector<TEntry> entries;
    std::vector<std::string> folders;
    TFoundEntry found;
    for (const std::string& mask : m_mask) {
        TDirectorySearch search(SearchPattern(m_directory, mask), excluded);
        const auto folder = static_cast<std::uint32_t>(folders.size());
        folders.push_back(search.Folder());
        while (search.Next(found)) {
            TEntry entry{folder, found.complete, found.info};
            if (!found.complete) {
                entry.info.Attr = static_cast<std::int32_t>(found.attr);
            }
            // Whether a POSIX entry is read-only takes a look at the disk: only when the set
            // decides by that bit.
            if (!listAll && !entry.complete && (wanted & ATTR_READ_ONLY) != 0 &&
                (found.attr & wanted) == 0) {
                entry.info = ReadEntryInfo(search.Folder() + found.name, found.attr);
                entry.complete = true;
            }
            if (!listAll && (static_cast<std::uint32_t>(entry.info.Attr) & wanted) == 0) {
                continue;
            }
            const bool directory =
                (static_cast<std::uint32_t>(entry.info.Attr) & ATTR_DIRECTORY) != 0;
            files.push_back(directory ? "[" + found.name + "]" : found.name);
            entries.push_back(entry);
        }
    }

    const std::vector<std::size_t> order = SortedOrder(files);
    m_files.reserve(files.size());
    m_entries.reserve(files.size());
    for (const std::size_t i : order) {
        m_files.push_back(std::move(files[i]));
        m_entries.push_back(entries[i]);
    }
    m_folders = std::move(folders);
}

void TFileList::NotifyChange() {
    if (OnChange) {
        OnChange(*this);
    }
}

void TFileList::NotifyDirChange() {
    if (OnDirChange) {
        OnDirChange(*this);
    }
}

void TFileList::Loaded() { m_pollTimer = DirBox != nullptr; }

void TFileList::PollDirBox() {
    if (DirBox != nullptr) {
        SetDirectory(DirBox->Directory());
    }
}

void TFileList::Notification(const TDirectoryBox& box) {
    if (DirBox == &box) {
        DirBox = nullptr;
    }
}
