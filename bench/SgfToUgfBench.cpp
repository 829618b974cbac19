// The SGF splitter and the SGF to UGF conversion on large generated records, against reading and
// writing the same bytes as lines. Time per byte must stay flat from 1 MB to 16 MB.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>

#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/SGFAdjust.h"
#include "conversion/Services.h"
#include "conversion/SgfToUgf.h"

namespace {

// Shift-JIS texts whose trail bytes look like "]" (ゾ) or "\" (表, ソ).
constexpr char ZO[] = "\x83\x5D";
constexpr char HYO[] = "\x95\x5C";
constexpr char SO[] = "\x83\x5C";

// One SGF record on a single line of about size bytes: a root with ranks in brackets, then
// alternating moves whose comments hold ";", "(", an escaped "]" and double-byte text.
std::string OneLineRecord(std::size_t size) {
    std::string text = "(;GM[1]FF[4]SZ[19]PB[Kuro (9d)]PW[Shiro (8d)]RE[B+R]KM[6.5]";
    text += std::string("C[root; a (long) \\] comment ") + ZO + HYO + SO + "]AB[pd][dp]";
    std::uint32_t state = 12345;
    for (std::uint64_t n = 0; text.size() + 64 < size; ++n) {
        state = state * 1664525u + 1013904223u;
        const char column = static_cast<char>('a' + (state >> 8) % 19);
        const char row = static_cast<char>('a' + (state >> 16) % 19);
        text += n % 2 == 0 ? ";B[" : ";W[";
        text += column;
        text += row;
        text += ']';
        if (n % 3 == 0) {
            text += std::string("C[move; (see) \\] ") + ZO + " " + HYO + SO + "]";
        }
    }
    text += ')';
    return text;
}

// A record of short lines with two values running over half of them each, one in the root and
// one in a move node; every other line ends in a lead byte whose trail byte, "]", opens the next
// line. The splitter carries each value from line to line all the way.
std::string LongValueRecord(std::size_t size) {
    const auto addLines = [&](std::string& text, std::size_t until) {
        for (std::uint64_t n = 0; text.size() + 64 < until; ++n) {
            text += n % 2 == 0 ? std::string("a long value with (brackets) and ") + SO + ZO + "\x83"
                               : std::string("]still inside the value ") + HYO + ZO;
            text += "\r\n";
        }
    };
    std::string text = "(;SZ[19]C[start\r\n";
    addLines(text, size / 2);
    text += "end];B[pd]C[start\r\n";
    addLines(text, size);
    text += "end];W[dd])\r\n";
    return text;
}

const std::string& Record(std::size_t size, bool longValue) {
    static std::map<std::pair<std::size_t, bool>, std::string> records;
    std::string& record = records[{size, longValue}];
    if (record.empty()) {
        record = longValue ? LongValueRecord(size) : OneLineRecord(size);
    }
    return record;
}

void ReadAndWriteLines(benchmark::State& run) {
    const std::string& bytes = Record(static_cast<std::size_t>(run.range(0)), false);
    for (auto _ : run) {
        std::string written = JoinLines(SplitLines(bytes));
        benchmark::DoNotOptimize(written.data());
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * bytes.size()));
}

void Split(benchmark::State& run, bool longValue) {
    const std::string& bytes = Record(static_cast<std::size_t>(run.range(0)), longValue);
    TSGFAdjust adjust;
    adjust.Input = SplitLines(bytes);
    for (auto _ : run) {
        if (!adjust.Adjust()) {
            run.SkipWithError("the record was rejected");
            break;
        }
        benchmark::DoNotOptimize(adjust.OutputCK.data());
    }
    run.counters["nodes"] = static_cast<double>(adjust.OutputCK.size());
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * bytes.size()));
}

void SplitOneLine(benchmark::State& run) {
    Split(run, false);
}

void SplitLongValue(benchmark::State& run) {
    Split(run, true);
}

void ConvertOneLine(benchmark::State& run) {
    const std::string& bytes = Record(static_cast<std::size_t>(run.range(0)), false);
    TConversionState state;
    TSilentProgress progress;
    for (auto _ : run) {
        const TConvertedRecord record = ConvertSgfRecord(SplitLines(bytes), state, progress);
        if (!record.ready) {
            run.SkipWithError("the record was rejected");
            break;
        }
        std::string written = JoinLines(record.lines);
        benchmark::DoNotOptimize(written.data());
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(run.iterations() * bytes.size()));
}

constexpr std::int64_t MB = 1 << 20;

}  // namespace

BENCHMARK(ReadAndWriteLines)->Arg(1 * MB)->Arg(4 * MB)->Arg(16 * MB)->Unit(benchmark::kMillisecond);
BENCHMARK(SplitOneLine)->Arg(1 * MB)->Arg(4 * MB)->Arg(16 * MB)->Unit(benchmark::kMillisecond);
BENCHMARK(SplitLongValue)->Arg(1 * MB)->Arg(4 * MB)->Arg(16 * MB)->Unit(benchmark::kMillisecond);
BENCHMARK(ConvertOneLine)->Arg(1 * MB)->Arg(4 * MB)->Arg(16 * MB)->Unit(benchmark::kMillisecond);
