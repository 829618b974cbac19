// bench_records DIR COUNT: writes COUNT typical records into DIR, half UGF (u00000.ugf, ...) and
// half SGF (s00000.sgf, ...), for the whole-process batch benchmark.

#include "bench/Records.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_records DIR COUNT\n");
        return 2;
    }
    const std::string dir = argv[1];
    const unsigned count = static_cast<unsigned>(std::stoul(argv[2]));
    for (unsigned i = 0; i < count; ++i) {
        char name[32];
        const bool ugf = i % 2 == 0;
        std::snprintf(name, sizeof name, ugf ? "/u%05u.ugf" : "/s%05u.sgf", i / 2);
        const std::string record = ugf ? MakeUgfRecord(250, i) : MakeTypicalSgf(i);
        std::ofstream out(dir + name, std::ios::binary);
        out.write(record.data(), static_cast<std::streamsize>(record.size()));
        if (!out) {
            std::fprintf(stderr, "bench_records: cannot write %s%s\n", dir.c_str(), name);
            return 1;
        }
    }
    return 0;
}
