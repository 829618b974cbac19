// The UGF to SGF conversion in memory, from the file's bytes to the output's bytes.

#include "bench/Harness.h"
#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/Services.h"
#include "conversion/UgfToSgf.h"

#include <benchmark/benchmark.h>

namespace {

void ConvertUgf(benchmark::State& run, const std::string& name, int dialect) {
    TConversionState state;
    state.Settings.USGFApli = dialect;
    TSilentProgress progress;
    OverInput(run, name, [&](const std::string& record) {
        const TConvertedRecord converted = ConvertUgfRecord(record, state, progress);
        benchmark::DoNotOptimize(converted.text.Pieces());
        return converted.ready;
    });
}

const bool REGISTERED = [] {
    for (const char* name : {"Ugf1MB", "Ugf4MB", "Ugf16MB", "Ugf100kMoves", "TypicalUgf"}) {
        benchmark::RegisterBenchmark((std::string("UgfToSgf/") + name).c_str(), ConvertUgf, name, 0)
            ->Unit(benchmark::kMillisecond);
    }
    // The dialect that packs its moves into long lines.
    benchmark::RegisterBenchmark("UgfToSgfPacked/Ugf100kMoves", ConvertUgf, "Ugf100kMoves", 1)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
