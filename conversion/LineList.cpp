#include "conversion/LineList.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#if defined(__unix__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "conversion/FileError.h"
#include "conversion/Paths.h"
#include "conversion/Text.h"

namespace {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

// Opens a new file in target's folder that did not exist before ("x": exclusive creation), so the
// temporary file never replaces anything of the user's. Its name has a short fixed length, so a
// target whose own name is as long as names may be still gets one.
TFileHandle CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::mt19937_64 generator{std::random_device{}()};
    const std::string folder = target.substr(0, target.size() - ExtractFileName(target).size());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, ".morvane-%08llx.tmp",
                      static_cast<unsigned long long>(generator() & 0xFFFFFFFFu));
        temporary = folder + name;
        if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) {
            return TFileHandle(file);
        }
    }
    return nullptr;
}

}  // namespace

TLineList SplitLines(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        text = text.substr(0, nul);
    }
    TLineList lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(begin, i - begin));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            begin = i + 1;
        }
    }
    if (begin < text.size()) {
        lines.emplace_back(text.substr(begin));
    }
    return lines;
}

std::string JoinLines(const TLineList& lines) {
    std::size_t size = 0;
    for (const std::string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string LoadBytes(const std::string& path) {
    // Only a file is read: a folder, or a pipe or device that could block or never end, is not.
#if defined(__unix__)
    // Opened without blocking and then looked at, so the name is looked up once.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (descriptor < 0 || ::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
        throw TFileError(TFileErrorKind::Open, path);
    }
    TFileHandle file(::fdopen(descriptor, "rb"));
    if (!file) {
        ::close(descriptor);
        throw TFileError(TFileErrorKind::Open, path);
    }
#else
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        throw TFileError(TFileErrorKind::Open, path);
    }
    TFileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw TFileError(TFileErrorKind::Open, path);
    }
#endif
    std::string bytes;
    char buffer[1 << 16];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, count);
    }
    if (std::ferror(file.get())) {
        throw TFileError(TFileErrorKind::Open, path);
    }
    return bytes;
}

TLineList LoadLines(const std::string& path) { return SplitLines(LoadBytes(path)); }

std::string SaveTemporaryBeside(const std::string& path, std::string_view bytes) {
    std::string temporary;
    TFileHandle file = CreateTemporaryBeside(path, temporary);
    if (!file) {
        throw TFileError(TFileErrorKind::Create, path);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0;
    if (std::fclose(file.release()) != 0 || !written) {
        std::error_code error;
        std::filesystem::remove(temporary, error);
        throw TFileError(TFileErrorKind::Create, path);
    }
    return temporary;
}

void SaveBytes(const std::string& path, std::string_view bytes) {
    const std::string temporary = SaveTemporaryBeside(path, bytes);
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw TFileError(TFileErrorKind::Create, path);
    }
}

void SaveLines(const std::string& path, const TLineList& lines) {
    SaveBytes(path, JoinLines(lines));
}

int IndexOfLine(const TLineList& lines, std::string_view text) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (SameTextIgnoringCase(lines[i], text)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
