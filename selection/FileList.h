#pragma once

#include "conversion/Paths.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Attribute bits of a directory entry, as the Windows directory search reports them.
inline constexpr std::uint32_t ATTR_READ_ONLY = 0x01;
inline constexpr std::uint32_t ATTR_HIDDEN = 0x02;
inline constexpr std::uint32_t ATTR_SYSTEM = 0x04;
inline constexpr std::uint32_t ATTR_VOLUME_ID = 0x08;
inline constexpr std::uint32_t ATTR_DIRECTORY = 0x10;
inline constexpr std::uint32_t ATTR_ARCHIVE = 0x20;

// The kinds of entry a TFileList lists; element i stands for the attribute value 1 << i.
// ftNormal has no bit of its own: with it, every entry the search returns is listed.
enum class TFileAttr {
    ftReadOnly,
    ftHidden,
    ftSystem,
    ftVolumeID,
    ftDirectory,
    ftArchive,
    ftNormal
};

// A set of TFileAttr.
class TFileType {
public:
    constexpr TFileType() = default;
    constexpr TFileType(std::initializer_list<TFileAttr> attrs) {
        for (const TFileAttr attr : attrs) {
            m_value |= 1u << static_cast<unsigned>(attr);
        }
    }
    constexpr bool Contains(TFileAttr attr) const {
        return (m_value & (1u << static_cast<unsigned>(attr))) != 0;
    }
    // The sum of the attribute values of the elements, at most 0x7F.
    constexpr std::uint32_t Value() const { return m_value; }
    friend bool operator==(const TFileType&, const TFileType&) = default;

private:
    std::uint32_t m_value = 0;
};

// What a listing knows of one entry.
struct TInfo {
    // Last write, local time, DOS packed: date in the high 16 bits, time in the low 16 bits;
    // 0 when it falls outside 1980 to 2107.
    std::int32_t Time = 0;
    // The low 32 bits of the size in bytes.
    std::int32_t Size = 0;
    // ATTR_* bits.
    std::int32_t Attr = 0;
    friend bool operator==(const TInfo&, const TInfo&) = default;
};

// A control that shows a current directory, which a TFileList can follow.
class TDirectoryBox {
public:
    virtual ~TDirectoryBox() = default;
    // The directory as the file system spells it.
    virtual std::string Directory() const = 0;
};

// The search pattern of one mask line: directory, a separator, then the mask. Windows: no
// separator when directory is exactly 3 bytes long (the length of a drive root such as C:\),
// whatever it ends in, else "\". POSIX: no separator when directory is the root "/", else "/",
// so an empty directory searches the root.
std::string SearchPattern(std::string_view directory, std::string_view mask,
                          TPathStyle style = NATIVE_PATH_STYLE);

// The sorted entries of one directory that match a list of wildcard masks ("*" and "?", letter
// case ignored) and a set of attributes. Non-visual: an owner sets it up, reads the entry texts
// and shows them as it likes. Nothing is listed until Directory, FileType or Mask is written with
// a new value or RebuildList is called.
class TFileList {
public:
    // The poll interval of a followed DirBox, milliseconds.
    static constexpr int POLL_INTERVAL_MS = 200;

    TFileList() = default;
    virtual ~TFileList() = default;
    TFileList(const TFileList&) = delete;
    TFileList& operator=(const TFileList&) = delete;

    // The box to follow; not owned. Followed only when set at Loaded.
    TDirectoryBox* DirBox = nullptr;
    // Called by NotifyChange, which nothing here calls.
    std::function<void(TFileList& sender)> OnChange;
    // Called after a write of Directory that changed it.
    std::function<void(TFileList& sender)> OnDirChange;

    // The directory listed, as the caller gave it (file-system bytes, no normalisation).
    const std::string& Directory() const { return m_directory; }
    // A value that differs byte for byte (letter case counts) is stored, listed, then announced
    // through NotifyDirChange; an equal one does nothing.
    void SetDirectory(std::string value);

    const TFileType& FileType() const { return m_fileType; }
    // A different set is stored and listed; no event.
    void SetFileType(TFileType value);

    // The component's own mask lines. Editing them in place lists nothing until RebuildList.
    std::vector<std::string>& Mask() { return m_mask; }
    // Copies the lines and lists; no event. The component's own list (the object, not equal
    // lines) does nothing.
    void SetMask(const std::vector<std::string>& lines);

    // Entry texts, sorted: the name as the directory spells it, "[" name "]" for a directory.
    const std::vector<std::string>& Files() const { return m_files; }
    // Time, size and attributes of Files()[index]. On POSIX time, size and the read-only bit are
    // read from the disk the first time they are asked for (zeros and the listed bits when the
    // entry has gone by then); an entry the search reports completely has them already.
    const TInfo& Info(std::size_t index) const;

    // Reads the directory into Files again: one search per mask line, in order; entries that two
    // lines match are listed twice. Then one sort of the whole list in the user locale, letter
    // case ignored; entries that compare equal stand side by side (in byte order). A directory
    // that does not exist or cannot be read lists nothing, and nothing is reported. No event.
    void RebuildList();

    // Calls OnChange, when set.
    virtual void NotifyChange();
    // Calls OnDirChange, when set.
    virtual void NotifyDirChange();

    // The owner calls this once the component is set up. With a DirBox set then, the poll timer
    // exists from now on: the owner calls PollDirBox every POLL_INTERVAL_MS while PollTimer() is
    // true. A DirBox set later is never followed.
    void Loaded();
    bool PollTimer() const { return m_pollTimer; }
    // Writes the box's directory to Directory (one compare when unchanged); nothing without a box.
    void PollDirBox();
    // The owner calls this when box goes away; a followed box is forgotten.
    void Notification(const TDirectoryBox& box);

private:
    struct TEntry {
        std::uint32_t folder = 0;  // index into m_folders
        bool complete = false;     // info holds everything; else only the listed bits
        TInfo info;
    };

    std::string m_directory;
    TFileType m_fileType{TFileAttr::ftNormal};
    std::vector<std::string> m_mask;
    std::vector<std::string> m_files;
    // One per entry of m_files; read lazily, so the const Info may fill it in.
    mutable std::vector<TEntry> m_entries;
    // The folder each search read, for the lazy reads of Info.
    std::vector<std::string> m_folders;
    bool m_pollTimer = false;
};
