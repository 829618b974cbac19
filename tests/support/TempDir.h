#pragma once

#include <string>
#include <string_view>

// A new empty folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    // Full path of name inside the folder.
    std::string Path(std::string_view name) const;
    void Write(std::string_view name, std::string_view bytes) const;
    // The whole file; throws when it cannot be read.
    std::string Read(std::string_view name) const;
    // Sorted names of the entries.
    std::string List() const;

    std::string root;
};
