// The baselines: splitting every input into lines and joining them again, the reading and writing
// that every conversion does, measured in the same run as the conversions.

#include <benchmark/benchmark.h>

#include "bench/Records.h"
#include "conversion/LineList.h"

namespace {

void SplitAndJoin(benchmark::State& state, const std::string& name) {
    const std::vector<std::string>& records = Input(name);
    for (auto _ : state) {
        for (const std::string& record : records) {
            std::string bytes = JoinLines(SplitLines(record));
            benchmark::DoNotOptimize(bytes);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * InputBytes(records)));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * records.size()));
}

const bool REGISTERED = [] {
    for (const std::string& name : InputNames()) {
        benchmark::RegisterBenchmark(("Baseline/" + name).c_str(), SplitAndJoin, name)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
