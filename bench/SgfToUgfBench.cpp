// The SGF splitter and the SGF to UGF conversion in memory (from the file's bytes, the encoding
// read first), on single-line records of megabytes, records whose values run over many lines, and
// typical records in Shift-JIS and in UTF-8; and telling the East Asian encoding alone of the
// Shift-JIS ones, which every record without CA that is no UTF-8 costs its conversion.

#include "bench/Harness.h"
#include "conversion/ConversionState.h"
#include "conversion/EastAsianText.h"
#include "conversion/LineList.h"
#include "conversion/SGFAdjust.h"
#include "conversion/Services.h"
#include "conversion/SgfToUgf.h"

#include <benchmark/benchmark.h>
#include <optional>
#include <string>

namespace {

void Adjust(benchmark::State& run, const std::string& name) {
    TSGFAdjust adjust;
    OverInput(run, name, [&](const std::string& record) {
        adjust.Input = SplitLines(record);
        const bool split = adjust.Adjust();
        benchmark::DoNotOptimize(adjust.OutputCK.data());
        return split;
    });
}

void ConvertSgf(benchmark::State& run, const std::string& name) {
    TConversionState state;
    TSilentProgress progress;
    OverInput(run, name, [&](const std::string& record) {
        const TConvertedRecord converted = ConvertSgfBytes(record, state, progress);
        benchmark::DoNotOptimize(converted.text.Pieces());
        state.TempMemo.clear();  // the result's pieces, one set a record
        return converted.ready;
    });
}

void TellEncoding(benchmark::State& run, const std::string& name) {
    OverInput(run, name, [&](const std::string& record) {
        const std::optional<std::string> told = TellEastAsianEncoding(record);
        benchmark::DoNotOptimize(told.has_value());
        return !told;
    });
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
    for (const char* input : {"TypicalSgf", "SgfLine16MB"}) {
        benchmark::RegisterBenchmark((std::string("TellEncoding/") + input).c_str(), TellEncoding,
                                     input)
            ->Unit(benchmark::kMillisecond);
    }
    for (const char* input : {"TypicalSgf", "TypicalSgfUtf8"}) {
        benchmark::RegisterBenchmark((std::string("SgfToUgf/") + input).c_str(), ConvertSgf, input)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
