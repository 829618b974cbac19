// bench_safe_write FILE...: the floor of the way kifuconv writes its outputs, with no conversion:
// each file is read whole, the name of its output (the file's name with ".out" added) is looked
// up, and the bytes are written to a new file of that name as kifuconv writes a new output
// (SaveNewFile: whole or not at all, never over another file). The second baseline of the batch in
// scripts/bench: what is left between kifuconv and cp past this is the conversion's own.

#include "conversion/FileOps.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        try {
            const std::string bytes = LoadBytes(argv[i]);
            const std::string output = std::string(argv[i]) + ".out";
            const std::string_view pieces[] = {bytes};
            std::optional<TFileId> identity;
            if (FileExists(output) || !SaveNewFile(output, pieces, identity)) {
                std::fprintf(stderr, "bench_safe_write: %s: taken\n", output.c_str());
                return 1;
            }
        } catch (const std::exception& error) {
            std::fprintf(stderr, "bench_safe_write: %s: %s\n", argv[i], error.what());
            return 1;
        }
    }
    return 0;
}
