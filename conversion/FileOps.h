#pragma once

#include <string>
#include <string_view>

// The one place where the program meets the disk. Paths are the bytes that name files: on Linux
// the file system's own (UTF-8 as a rule); on Windows code page 932 whatever the system's code
// page is, read as such and handed to the system's wide-character functions, so a name in a
// Japanese folder works on any Windows. A path with a NUL byte, or on Windows one that is no code
// page 932 text, names no file.

// True only when path names an existing file (a directory is not a file).
bool FileExists(const std::string& path);

// Deletes the file at path; false when it could not be deleted (a directory is never deleted).
bool RemoveFile(const std::string& path);

// Renames the file from (callers pass a file they know) to the name to; false when it could not be
// renamed, for example because a directory stands at to. An existing file at to is not replaced.
bool RenameFile(const std::string& from, const std::string& to);

// Whole file as bytes. Throws TFileError (Open) when it cannot be read, and for anything that is
// not a file (a folder, a pipe, a device), which is refused without waiting on it.
std::string LoadBytes(const std::string& path);

// Renames the file from over the file to, which it replaces when there is one; false when it could
// not.
bool RenameOver(const std::string& from, const std::string& to);

// Creates or replaces the file with bytes. The bytes go to a new temporary file in the same folder,
// which is then renamed over path, so a failure never leaves a half-written file. Throws
// TFileError (Create) when the file cannot be written.
void SaveBytes(const std::string& path, std::string_view bytes);

// Writes bytes to a new file of a short name of its own in path's folder (so a rename moves it over
// path) and answers its name. Throws TFileError (Create) naming path when it cannot be written.
std::string SaveTemporaryBeside(const std::string& path, std::string_view bytes);

// True only when path names an existing folder.
bool FolderExists(const std::string& path);

// path made absolute from the current folder, without "." and ".." parts and without a separator
// at its end but for a root's. Linux: by the text alone; Windows: as the system reads the path.
// Empty when path names nothing (a NUL byte, or on Windows no code page 932 text).
std::string AbsolutePath(const std::string& path);
