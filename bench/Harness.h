#pragma once

#include "bench/Records.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

// Runs convert(record) on every record of the named input in each iteration and counts the bytes
// and records done; a record that convert refuses (false) stops the benchmark with an error.
template <typename Convert>
void OverInput(benchmark::State& run, const std::string& name, Convert convert) {
    const std::vector<std::string>& records = Input(name);
    for (auto _ : run) {
        for (const std::string& record : records) {
            if (!convert(record)) {
                run.SkipWithError("a record was refused");
                return;
            }
        }
    }
    run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * InputBytes(records)));
    run.SetItemsProcessed(static_cast<int64_t>(run.iterations() * records.size()));
}
