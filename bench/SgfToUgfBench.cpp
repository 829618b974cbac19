// The SGF splitter and the SGF to UGF conversion in memory, on single-line records of megabytes,
// records whose values run over many lines, and typical records.

#include <benchmark/benchmark.h>

#include "bench/Records.h"
#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/SGFAdjust.h"
#include "conversion/Services.h"
#include "conversion/SgfToUgf.h"

namespace {

void Adjust(benchmark::State& run, const std::string& name) {
    const std::vector<std::string>& records = Input(name);
    TSGFAdjust adjust;
    for (auto _ : run) {
        for (const std::string& record : records) {
            adjust.Input = SplitLines(record);
            if (!adjust.Adjust()) {
                run.SkipWithError("a record was refused");
                return;
            }
            benchmark::DoNotOptimize(adjust.OutputCK.data());
        }
    }
    run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * InputBytes(records)));
    run.SetItemsProcessed(static_cast<int64_t>(run.iterations() * records.size()));
}

void ConvertSgf(benchmark::State& run, const std::string& name) {
    const std::vector<std::string>& records = Input(name);
    TConversionState state;
    TSilentProgress progress;
    for (auto _ : run) {
        for (const std::string& record : records) {
            const TConvertedRecord converted = ConvertSgfRecord(SplitLines(record), state, progress);
            if (!converted.ready) {
                run.SkipWithError("a record was refused");
                return;
            }
            std::string bytes = JoinLines(converted.lines);
            benchmark::DoNotOptimize(bytes);
        }
        state.TempMemo.clear();
    }
    run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * InputBytes(records)));
    run.SetItemsProcessed(static_cast<int64_t>(run.iterations() * records.size()));
}

const bool REGISTERED = [] {
    for (const char* size : {"1MB", "4MB", "16MB"}) {
        const std::string line = std::string("SgfLine") + size;
        const std::string spread = std::string("SgfSpread") + size;
        benchmark::RegisterBenchmark(("SgfAdjust/" + line).c_str(), Adjust, line)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("SgfAdjustSpread/" + spread).c_str(), Adjust, spread)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("SgfToUgf/" + line).c_str(), ConvertSgf, line)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("SgfToUgf/TypicalSgf", ConvertSgf, "TypicalSgf")
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
