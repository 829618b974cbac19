#pragma once

#include <string>

// True only when path names an existing file (a directory is not a file).
bool FileExists(const std::string& path);

// Deletes the file at path; false when it could not be deleted (a directory is never deleted).
bool DeleteFile(const std::string& path);

// Renames the file from (callers pass a file they know) to the name to; false when it could not be
// renamed, for example because a directory stands at to. An existing file at to is not replaced.
bool RenameFile(const std::string& from, const std::string& to);
