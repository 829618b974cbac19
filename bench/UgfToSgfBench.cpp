// The UGF to SGF conversion in memory, from the file's bytes to the output's bytes.

#include <benchmark/benchmark.h>

#include "bench/Records.h"
#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/Services.h"
#include "conversion/UgfToSgf.h"

namespace {

void ConvertUgf(benchmark::State& run, const std::string& name, int dialect) {
    const std::vector<std::string>& records = Input(name);
    TConversionState state;
    state.USGFApli = dialect;
    TSilentProgress progress;
    for (auto _ : run) {
        for (const std::string& record : records) {
            const TConvertedRecord converted = ConvertUgfRecord(SplitLines(record), state, progress);
            if (!converted.ready) {
                run.SkipWithError("a record was refused");
                return;
            }
            std::string bytes = JoinLines(converted.lines);
            benchmark::DoNotOptimize(bytes);
        }
    }
    run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * InputBytes(records)));
    run.SetItemsProcessed(static_cast<int64_t>(run.iterations() * records.size()));
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
