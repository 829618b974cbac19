// Throughput of the UGF to SGF conversion in memory, from the file's bytes to the output's bytes,
// beside the cost of only reading and writing the same bytes as lines.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "conversion/ConversionState.h"
#include "conversion/LineList.h"
#include "conversion/Services.h"
#include "conversion/Text.h"
#include "conversion/UgfRecord.h"
#include "conversion/UgfToSgf.h"

namespace {

constexpr int LONG_RECORD_MOVES = 100000;
constexpr int BATCH_RECORDS = 1000;

// A record in the writer's layout with a "Hdcp" line, handicap stones and moves at random points
// of a 19x19 board, one pass in fifty moves; the same for the same seed.
std::string GenerateRecord(int moves, int stones, unsigned seed) {
    std::mt19937 random(seed);
    const auto point = [&random] {
        std::string text(2, 'A');
        text[0] = static_cast<char>('A' + random() % 19);
        text[1] = static_cast<char>('A' + random() % 19);
        return text;
    };
    TUgfWrittenHeader header;
    header.title = "Kisei,1,";
    header.rule = "JPN";
    header.size = "19";
    header.winner = "B,6.5";
    header.bMemb1 = "\x91\xBE\x98\x59,3d,";  // 太郎
    header.wMemb1 = "\x8E\x9F\x98\x59,2d,";  // 次郎
    TLineList handicapLines;
    for (int i = 0; i < stones; ++i) {
        handicapLines.push_back(WriteUgfDataLine(point(), "B1", 0));
    }
    TLineList moveLines;
    for (int n = 1; n <= moves; ++n) {
        moveLines.push_back(WriteUgfDataLine(random() % 50 == 0 ? std::string("YA") : point(),
                                             n % 2 ? "B1" : "W1", n));
    }
    TLineList lines = WriteUgfRecord(header, handicapLines, moveLines);
    lines.insert(lines.begin() + 16, "Hdcp=" + IntToText(stones) + ",0.5");
    return JoinLines(lines);
}

const std::string& LongRecord() {
    static const std::string record = GenerateRecord(LONG_RECORD_MOVES, 0, 1);
    return record;
}

// Records of 200 to 300 moves, every fourth with handicap stones.
const std::vector<std::string>& TypicalRecords() {
    static const std::vector<std::string> records = [] {
        std::vector<std::string> generated;
        for (int i = 0; i < BATCH_RECORDS; ++i) {
            generated.push_back(GenerateRecord(200 + i % 101, i % 4 == 0 ? 2 + i % 8 : 0,
                                               static_cast<unsigned>(i)));
        }
        return generated;
    }();
    return records;
}

std::size_t TotalBytes(const std::vector<std::string>& records) {
    std::size_t total = 0;
    for (const std::string& record : records) {
        total += record.size();
    }
    return total;
}

std::string Convert(const std::string& bytes, int dialect) {
    TConversionState state;
    state.USGFApli = dialect;
    TSilentProgress progress;
    const TConvertedRecord record = ConvertUgfRecord(SplitLines(bytes), state, progress);
    return JoinLines(record.lines);
}

void ConvertLongRecord(benchmark::State& state) {
    const std::string& bytes = LongRecord();
    const int dialect = static_cast<int>(state.range(0));
    if (Convert(bytes, dialect).empty()) {
        state.SkipWithError("the record gives no output");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(Convert(bytes, dialect));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ConvertLongRecord)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void CopyLongRecord(benchmark::State& state) {
    const std::string& bytes = LongRecord();
    for (auto _ : state) {
        benchmark::DoNotOptimize(JoinLines(SplitLines(bytes)));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(bytes.size()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CopyLongRecord)->Unit(benchmark::kMillisecond);

void ConvertTypicalRecords(benchmark::State& state) {
    const std::vector<std::string>& records = TypicalRecords();
    for (const std::string& bytes : records) {
        if (Convert(bytes, 0).empty()) {
            state.SkipWithError("a record gives no output");
            return;
        }
    }
    for (auto _ : state) {
        for (const std::string& bytes : records) {
            benchmark::DoNotOptimize(Convert(bytes, 0));
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(TotalBytes(records)));
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(records.size()));
}
BENCHMARK(ConvertTypicalRecords)->Unit(benchmark::kMillisecond);

void CopyTypicalRecords(benchmark::State& state) {
    const std::vector<std::string>& records = TypicalRecords();
    for (auto _ : state) {
        for (const std::string& bytes : records) {
            benchmark::DoNotOptimize(JoinLines(SplitLines(bytes)));
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(TotalBytes(records)));
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(records.size()));
}
BENCHMARK(CopyTypicalRecords)->Unit(benchmark::kMillisecond);

}  // namespace
