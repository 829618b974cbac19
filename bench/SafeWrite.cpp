// bench_safe_write FILE...: the floor of the way kifuconv writes its outputs, with no conversion:
// each file is read whole, the name of its output (the file's name with ".out" added) is looked
// up, a temporary file beside it is created exclusively, written whole and renamed to that name.
// The second baseline of the batch in scripts/bench: what is left between kifuconv and cp past
// this is the conversion's own.

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteOut(const char* path) {
    const int in = open(path, O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (in < 0 || fstat(in, &status) != 0) {
        return false;
    }
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    const ssize_t read = ::read(in, bytes.data(), bytes.size());
    close(in);
    if (read != static_cast<ssize_t>(bytes.size())) {
        return false;
    }
    const std::string output = std::string(path) + ".out";
    struct stat existing {};
    if (stat(output.c_str(), &existing) == 0) {
        return false;  // a fresh folder has none
    }
    const std::string temporary = output + ".tmp";
    const int out = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        return false;
    }
    const bool written = write(out, bytes.data(), bytes.size()) == read;
    return close(out) == 0 && written && rename(temporary.c_str(), output.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!WriteOut(argv[i])) {
            std::perror(argv[i]);
            return 1;
        }
    }
    return 0;
}
