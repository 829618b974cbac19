#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The one place where the program meets the disk. Paths are the bytes that name files: on Linux
// the file system's own (UTF-8 as a rule); on Windows code page 932 whatever the system's code
// page is, read as such and handed to the system's wide-character functions, so a name in a
// Japanese folder works on any Windows. A path with a NUL byte, or on Windows one that is no code
// page 932 text, names no file.

// True only when path names an existing file (a directory is not a file).
bool FileExists(const std::string& path);

// True only when path names an existing folder.
bool FolderExists(const std::string& path);

// The size in bytes of the file path names; none when it names no file.
std::optional<std::uint64_t> FileSize(const std::string& path);

// Which file a path reaches: the same for every path that reaches one file (through links or in
// another spelling) for as long as the file keeps its name.
struct TFileId {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    friend auto operator<=>(const TFileId&, const TFileId&) = default;
};

// The file at path, links followed; nothing when path names no file (a folder is no file).
std::optional<TFileId> FileIdentity(const std::string& path);

// True when path names a file, or a symbolic link that reaches no folder, one that reaches
// nothing included: a name that only the file or the link itself stands for.
bool FileOrLinkExists(const std::string& path);

// Deletes the file at path, or the link (see FileOrLinkExists; never what it leads to); false
// when it could not be deleted (a directory is never deleted).
bool RemoveFile(const std::string& path);

// Renames the file from (callers pass a file or link they know; a link is renamed itself) to the
// name to; false when it could not be renamed, for example because a directory stands at to. An
// existing file at to is not replaced, not even one that another program makes meanwhile: the
// system checks and renames in one step (a file system that cannot: a hard link, which never
// replaces a name, then the old name goes; one without hard links either: a look, then a rename).
bool RenameFile(const std::string& from, const std::string& to);

// Renames the file from to the name to in one step, replacing a file at to; false when it could
// not.
bool MoveFileOver(const std::string& from, const std::string& to);

// Whole file as bytes. Throws TFileError (Open) when it cannot be read, and for anything that is
// not a file (a folder, a pipe, a device), which is refused without waiting on it. With identity,
// also the file's identity (as FileIdentity gives it), from the file opened where the system
// tells it without looking the path up again.
std::string LoadBytes(const std::string& path, std::optional<TFileId>* identity = nullptr);

// How far a new file is taken before it replaces an old one. Plain: written, as a record's output
// is (its source stays, so a crash loses nothing, and a batch keeps the speed of copying). Kept:
// on the disk before it is renamed, and with the permissions of the file it replaces, as the
// user's own data (the list, the settings) must be.
enum class TDurability { Plain, Kept };

// Creates or replaces the file with bytes. The bytes go to a new temporary file in the same folder,
// which is then renamed over path, so a failure never leaves a half-written file. Throws
// TFileError (Create) when the file cannot be written.
void SaveBytes(const std::string& path, std::string_view bytes,
               TDurability durability = TDurability::Plain);

// Bytes to be written to a file, handed over a span of pieces at a time, in order: the pieces of
// one span are valid until the next span is asked for.
class TWritable {
public:
    virtual ~TWritable() = default;
    // Calls write with each span in order; false as soon as write answers false.
    virtual bool Write(
        const std::function<bool(std::span<const std::string_view>)>& write) const = 0;
};

// Pieces already in memory, as one span.
class TSpanWritable : public TWritable {
public:
    explicit TSpanWritable(std::span<const std::string_view> pieces) : m_pieces(pieces) {}
    bool Write(const std::function<bool(std::span<const std::string_view>)>& write) const override {
        return write(m_pieces);
    }

private:
    std::span<const std::string_view> m_pieces;
};

// Writes bytes to a new file of a short name of its own in path's folder (so a rename moves it over
// path) and answers its name. Throws TFileError (Create) naming path when it cannot be written.
// The name tells the program's temporary files and the process that writes each
// (".morvane-<process id>-<8 hex digits>.tmp"): the first time a process writes in a folder, it
// removes the temporary files there that a process which has ended left behind (killed while it
// wrote), and those of the older unnumbered form (".morvane-<8 hex digits>.tmp") an hour old.
std::string SaveTemporaryBeside(const std::string& path, std::string_view bytes,
                                TDurability durability = TDurability::Plain);
// The same for the bytes of pieces, one after the other, or of content.
std::string SaveTemporaryBeside(const std::string& path, std::span<const std::string_view> pieces,
                                TDurability durability = TDurability::Plain);
std::string SaveTemporaryBeside(const std::string& path, const TWritable& content,
                                TDurability durability = TDurability::Plain);

// Writes the bytes of pieces to a new file at path, whole or not at all: the name appears only once
// every byte is written, and never takes the place of a file already there. Answers the new file's
// identity; false when path was taken meanwhile. Throws TFileError (Create) naming path when it
// cannot be written. On Linux the bytes go to a file without a name in path's folder that is then
// linked at path (no temporary name, nothing left behind by a process killed while it writes);
// where the file system cannot, through SaveTemporaryBeside and a rename that replaces nothing.
bool SaveNewFile(const std::string& path, std::span<const std::string_view> pieces,
                 std::optional<TFileId>& identity);
// The same for the bytes of content.
bool SaveNewFile(const std::string& path, const TWritable& content,
                 std::optional<TFileId>& identity);

// path made absolute from the current folder, without "." and ".." parts and without a separator
// at its end but for a root's. Linux: by the text alone; Windows: as the system reads the path.
// Empty when path names nothing (a NUL byte, or on Windows no code page 932 text).
std::string AbsolutePath(const std::string& path);
