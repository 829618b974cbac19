// kifuconv's peak memory on records made to stress it, measured from outside as a whole process:
// at most 4 times the record plus 32 MB. Not timed.

// Built where the tests can start kifuconv and bench_measure as POSIX processes.
#if defined(MORVANE_KIFUCONV) && defined(MORVANE_MEASURE) && !defined(__SANITIZE_ADDRESS__)

#include "bench/HostileRecords.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace {

// Large enough that a record held once per line, per field or per entry passes the bound by far
// (the 32 MB weigh little beside four times the record), small enough for a quick run.
constexpr std::size_t RECORD_BYTES = 8'000'000;

struct TPeak {
    int status = -1;
    long kilobytes = 0;
};

// Converts name in dir with kifuconv, measured by bench_measure, whose own memory is all that the
// child's peak can carry over from its parent.
TPeak Convert(const TTempDir& dir, const std::string& name) {
    const std::string command = "cd '" + dir.root + "' && '" MORVANE_MEASURE "' peak '" +
                                MORVANE_KIFUCONV "' -q -- '" + name + "' >/dev/null";
    TPeak peak;
    peak.status = std::system(command.c_str());
    std::ifstream measured(dir.Path("peak"));
    double seconds = 0;
    measured >> seconds >> peak.kilobytes;
    return peak;
}

}  // namespace

TEST(KifuconvMemory, StaysWithinFourTimesTheRecordPlus32MegabytesOnHostileRecords) {
    for (const THostileRecord& hostile : HostileRecords()) {
        SCOPED_TRACE(hostile.name + ": " + hostile.what);
        TTempDir dir;
        const std::size_t bytes = [&] {
            const std::string record = hostile.make(RECORD_BYTES);
            dir.Write(hostile.name, record);
            return record.size();
        }();
        const TPeak peak = Convert(dir, hostile.name);
        ASSERT_TRUE(WIFEXITED(peak.status) && WEXITSTATUS(peak.status) <= 1) << peak.status;
        ASSERT_GT(peak.kilobytes, 0);
        const double bound = 4.0 * static_cast<double>(bytes) + 32.0 * 1024 * 1024;
        EXPECT_LE(static_cast<double>(peak.kilobytes) * 1024, bound)
            << "peak " << peak.kilobytes / 1024 << " MB on " << bytes / 1000000 << " MB";
    }
}

#endif
