// Runs every benchmark, then prints each one as a ratio to the baseline of the same input measured
// in the same run, and the growth of each family from its smallest to its largest input.
//
// Names follow "<Family>/<Input>"; the baseline of an input is "Baseline/<Input>" (reading and
// writing the same bytes). Inputs of one family that end in a size ("1MB", "16MB") give the growth.

#include "cli/Memory.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct TResult {
    double seconds = 0;  // real time of one iteration
    double bytesPerSecond = 0;
    double itemsPerSecond = 0;
};

class TCollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) {
                continue;
            }
            TResult result;
            result.seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const auto counter = [&](const char* name) {
                const auto found = run.counters.find(name);
                return found == run.counters.end() ? 0.0 : double(found->second);
            };
            result.bytesPerSecond = counter("bytes_per_second");
            result.itemsPerSecond = counter("items_per_second");
            names.push_back(run.benchmark_name());
            results[run.benchmark_name()] = result;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::vector<std::string> names;
    std::map<std::string, TResult> results;
};

std::string FamilyOf(const std::string& name) { return name.substr(0, name.find('/')); }

std::string InputOf(const std::string& name) {
    const std::size_t slash = name.find('/');
    return slash == std::string::npos ? "" : name.substr(slash + 1);
}

// Megabytes in an input name such as "SgfLine16MB", or 0.
double MegabytesOf(const std::string& input) {
    if (input.size() < 3 || input.compare(input.size() - 2, 2, "MB") != 0) {
        return 0;
    }
    std::size_t begin = input.size() - 2;
    while (begin > 0 && input[begin - 1] >= '0' && input[begin - 1] <= '9') {
        --begin;
    }
    return begin == input.size() - 2 ? 0 : std::stod(input.substr(begin));
}

void PrintTable(const TCollectingReporter& reporter) {
    std::printf("\n%-40s %12s %12s %14s\n", "benchmark", "MB/s", "records/s", "x baseline");
    for (const std::string& name : reporter.names) {
        if (FamilyOf(name) == "Baseline") {
            continue;
        }
        const TResult& result = reporter.results.at(name);
        const auto baseline = reporter.results.find("Baseline/" + InputOf(name));
        char ratio[32] = "-";
        if (baseline != reporter.results.end()) {
            std::snprintf(ratio, sizeof ratio, "%.2f", result.seconds / baseline->second.seconds);
        }
        std::printf("%-40s %12.1f %12.0f %14s\n", name.c_str(), result.bytesPerSecond / 1e6,
                    result.itemsPerSecond, ratio);
    }
    std::printf("\n(x baseline: time of the benchmark / time to split and join the same bytes)\n");

    std::map<std::string, std::pair<const std::string*, const std::string*>> extremes;
    for (const std::string& name : reporter.names) {
        const double size = MegabytesOf(InputOf(name));
        if (size == 0) {
            continue;
        }
        auto& [smallest, largest] = extremes[FamilyOf(name)];
        if (!smallest || size < MegabytesOf(InputOf(*smallest))) {
            smallest = &name;
        }
        if (!largest || size > MegabytesOf(InputOf(*largest))) {
            largest = &name;
        }
    }
    std::printf("\n%-24s %8s %8s %12s %14s %12s\n", "growth", "from", "to", "time ratio",
                "baseline ratio", "relative");
    for (const auto& [family, pair] : extremes) {
        const auto& [smallest, largest] = pair;
        if (smallest == largest || family == "Baseline") {
            continue;
        }
        const double from = MegabytesOf(InputOf(*smallest));
        const double to = MegabytesOf(InputOf(*largest));
        const double growth =
            reporter.results.at(*largest).seconds / reporter.results.at(*smallest).seconds;
        const auto baseFrom = reporter.results.find("Baseline/" + InputOf(*smallest));
        const auto baseTo = reporter.results.find("Baseline/" + InputOf(*largest));
        if (baseFrom == reporter.results.end() || baseTo == reporter.results.end()) {
            continue;
        }
        const double baseline = baseTo->second.seconds / baseFrom->second.seconds;
        std::printf("%-24s %6.0fMB %6.0fMB %12.2f %14.2f %12.2f\n", family.c_str(), from, to,
                    growth, baseline, growth / baseline);
    }
    std::printf(
        "\n(time ratio: largest input / smallest; baseline ratio: the same for splitting and\n"
        " joining those inputs; relative: the first over the second, 1 for the same growth)\n");
}

// One target of the speed work: "target", what, the ratio, and its limit.
void PrintTarget(const std::string& what, double ratio, const char* limit) {
    std::printf("target  %-58s %6.2f   (%s)\n", what.c_str(), ratio, limit);
}

// The in-memory targets: SGF to UGF at least 250 MB/s and within 4 times its baseline on the
// 16 MB record, UGF to SGF at least 300 MB/s and within twice its baseline, telling the encoding
// of a Shift-JIS record at most 5 % of the rest of its conversion, typical records at least
// 150 MB/s.
void PrintTargets(const TCollectingReporter& reporter) {
    std::printf("\n");
    const auto ratioToBaseline = [&](const std::string& name) {
        const TResult& result = reporter.results.at(name);
        const TResult& baseline = reporter.results.at("Baseline/" + InputOf(name));
        return result.seconds / baseline.seconds;
    };
    const auto speed = [&](const std::string& name, double least) {
        return least / (reporter.results.at(name).bytesPerSecond / 1e6);
    };
    const auto has = [&](const std::string& name) {
        return reporter.results.count(name) > 0 &&
               reporter.results.count("Baseline/" + InputOf(name)) > 0;
    };
    if (has("SgfToUgf/SgfLine16MB")) {
        PrintTarget("SGF to UGF, 16 MB on one line: x its baseline",
                    ratioToBaseline("SgfToUgf/SgfLine16MB"), "at most 4");
        PrintTarget("SGF to UGF, 16 MB on one line: 250 MB/s / MB/s",
                    speed("SgfToUgf/SgfLine16MB", 250), "at most 1");
    }
    if (has("UgfToSgf/Ugf16MB")) {
        PrintTarget("UGF to SGF, 16 MB: x its baseline", ratioToBaseline("UgfToSgf/Ugf16MB"),
                    "at most 2");
        PrintTarget("UGF to SGF, 16 MB: 300 MB/s / MB/s", speed("UgfToSgf/Ugf16MB", 300),
                    "at most 1");
    }
    // Telling the East Asian encoding of a Shift-JIS record without CA, against the rest of its
    // conversion.
    for (const char* input : {"TypicalSgf", "SgfLine16MB"}) {
        const std::string tell = std::string("TellEncoding/") + input;
        const std::string convert = std::string("SgfToUgf/") + input;
        if (reporter.results.count(tell) > 0 && reporter.results.count(convert) > 0) {
            const double telling = reporter.results.at(tell).seconds;
            PrintTarget(std::string("telling the encoding, ") + input + ": x the rest",
                        telling / (reporter.results.at(convert).seconds - telling), "at most 0.05");
        }
    }
    for (const char* name :
         {"SgfToUgf/TypicalSgf", "SgfToUgf/TypicalSgfUtf8", "UgfToSgf/TypicalUgf"}) {
        if (has(name)) {
            PrintTarget(std::string(name) + ": 150 MB/s / MB/s", speed(name, 150), "at most 1");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The allocator set up as kifuconv sets it, so the figures are those of the tool.
    KeepFreedMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    TCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintTable(reporter);
    PrintTargets(reporter);
    return 0;
}
