#include "selection/FileList.h"

#include "selection/Platform.h"

#include <algorithm>
#include <bit>
#include <type_traits>
#include <utility>

namespace {

using TKey = std::basic_string_view<TSortKeyUnit>;

// A key unit as the unsigned number it is compared as.
std::uint64_t Number(TSortKeyUnit unit) {
    return static_cast<std::make_unsigned_t<TSortKeyUnit>>(unit);
}

struct TSortItem {
    std::uint64_t head;  // units of key from the depth sorted at, packed to compare as they do
    TKey key;
    std::size_t index;
};

// How many units one head packs, and in how many bits each.
struct TPacking {
    int bits;
    std::size_t units;
};

using TItems = std::vector<TSortItem>::iterator;

// Sorts [first, last), whose keys agree on their first depth units, by the rest of their keys and
// then by their texts: one 64-bit head of the next units each, sorted as numbers, then each run of
// equal heads again from further on. Names that a folder spells alike cost no string compares.
void SortFrom(TItems first, TItems last, std::size_t depth, TPacking packing,
              const std::vector<std::string>& texts) {
    for (auto item = first; item != last; ++item) {
        item->head = 0;
        for (std::size_t k = depth; k < depth + packing.units; ++k) {
            // Each unit u as u + 1, so a key that ends early (0) goes first.
            const std::uint64_t unit = k < item->key.size() ? Number(item->key[k]) + 1 : 0;
            item->head = (item->head << packing.bits) | unit;
        }
    }
    std::sort(first, last, [](const TSortItem& a, const TSortItem& b) { return a.head < b.head; });
    for (auto run = first; run != last;) {
        const auto runEnd =
            std::find_if(run, last, [&](const TSortItem& item) { return item.head != run->head; });
        if (runEnd - run > 1) {
            const std::size_t next = depth + packing.units;
            if (std::all_of(run, runEnd,
                            [&](const TSortItem& item) { return item.key.size() <= next; })) {
                std::sort(run, runEnd, [&](const TSortItem& a, const TSortItem& b) {
                    return texts[a.index] < texts[b.index];
                });
            } else {
                SortFrom(run, runEnd, next, packing, texts);
            }
        }
        run = runEnd;
    }
}

// The order of texts in the user locale, letter case ignored; texts that compare equal go by
// their bytes. Each text gets its sort key once, so the sort compares numbers, not locale rules.
std::vector<std::size_t> SortedOrder(const std::vector<std::string>& texts) {
    TSortKeys keys;
    std::vector<std::size_t> ends(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        AppendSortKey(texts[i], keys);
        ends[i] = keys.size();
    }
    std::uint64_t largest = 0;
    for (const TSortKeyUnit unit : keys) {
        largest = std::max(largest, Number(unit));
    }
    const int bits = std::bit_width(largest + 1);
    const TPacking packing{bits, static_cast<std::size_t>(64 / bits)};
    std::vector<TSortItem> items(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        items[i] = TSortItem{0, TKey(keys).substr(begin, ends[i] - begin), i};
    }
    SortFrom(items.begin(), items.end(), 0, packing, texts);
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
