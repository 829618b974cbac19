// bench_hostile DIR MEGABYTES [NAME...]: writes the hostile records (all, or those named) into DIR,
// each of about MEGABYTES megabytes, and prints one line per file: its name, its size in bytes and
// what it holds, separated by tabs.

#include "bench/HostileRecords.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_hostile DIR MEGABYTES [NAME...]\n");
        return 2;
    }
    const std::string dir = argv[1];
    const std::size_t bytes = static_cast<std::size_t>(std::stod(argv[2]) * 1e6);
    for (const THostileRecord& hostile : HostileRecords()) {
        bool wanted = argc == 3;
        for (int i = 3; i < argc; ++i) {
            wanted = wanted || hostile.name == argv[i];
        }
        if (!wanted) {
            continue;
        }
        const std::string record = hostile.make(bytes);
        std::ofstream out(dir + "/" + hostile.name, std::ios::binary);
        out.write(record.data(), static_cast<std::streamsize>(record.size()));
        if (!out) {
            std::fprintf(stderr, "bench_hostile: cannot write %s/%s\n", dir.c_str(),
                         hostile.name.c_str());
            return 1;
        }
        std::printf("%s\t%zu\t%s\n", hostile.name.c_str(), record.size(), hostile.what.c_str());
    }
    return 0;
}
