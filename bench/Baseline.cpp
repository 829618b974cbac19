// The baselines: splitting every input into lines and joining them again, the reading and writing
// that every conversion does, measured in the same run as the conversions.

#include "bench/Harness.h"
#include "bench/Records.h"
#include "conversion/LineList.h"

#include <benchmark/benchmark.h>

namespace {

void SplitAndJoin(benchmark::State& run, const std::string& name) {
    OverInput(run, name, [](const std::string& record) {
        std::string bytes = JoinLines(SplitLines(record));
        benchmark::DoNotOptimize(bytes);
        return true;
    });
}

const bool REGISTERED = [] {
    for (const std::string& name : InputNames()) {
        benchmark::RegisterBenchmark(("Baseline/" + name).c_str(), SplitAndJoin, name)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
