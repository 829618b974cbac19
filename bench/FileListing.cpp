// Times TFileList::RebuildList over folders of many records against a plain read of the same
// folder (opendir and readdir, keeping the names), both measured in this run, best of a few rounds.
//
//   filelist_bench [COUNT...]   folders of COUNT entries each (default 10000 and 100000)
//
// A folder holds records as a user keeps them: ASCII and Japanese names, some with upper-case
// extensions, four in five SGF and the rest UGF. The listing asks for "*.sgf" as the add-files
// dialog does. "with facts" also reads the time, size and attributes of every listed entry, which
// the dialog never asks for.

#include "selection/FileList.h"

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point start) {
    return std::chrono::duration<double>(TClock::now() - start).count();
}

void MakeFolder(const std::string& folder, int count) {
    std::filesystem::create_directories(folder);
    const char* const stems[] = {"kifu-", "Game_", "\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A-",
                                 "\xE5\x90\x8D\xE4\xBA\xBA\xE6\x88\xA6_"};  // 本因坊- 名人戦_
    for (int i = 0; i < count; ++i) {
        const char* extension = i % 5 == 4 ? ".ugf" : i % 7 == 3 ? ".SGF" : ".sgf";
        const std::string name = stems[i % 4] + std::to_string(1000000 + i).substr(1) + extension;
        const int file = open((folder + "/" + name).c_str(), O_CREAT | O_WRONLY, 0644);
        if (file < 0) {
            std::perror(name.c_str());
            std::exit(1);
        }
        close(file);
    }
}

// The plain read: every name of the folder, nothing else.
std::size_t ReadNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* entry = readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return names.size();
}

std::size_t Rebuild(const std::string& folder, bool facts) {
    TFileList list;
    list.Mask().push_back("*.sgf");
    list.SetDirectory(folder);
    if (facts) {
        for (std::size_t i = 0; i < list.Files().size(); ++i) {
            list.Info(i);
        }
    }
    return list.Files().size();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty()) {
        counts = {10000, 100000};
    }
    const char* collation = std::setlocale(LC_COLLATE, "");
    std::printf("sort order of the locale: %s\n\n", collation ? collation : "C (none installed)");
    std::printf("%-9s %8s %14s %14s %7s %16s %7s\n", "entries", "listed", "readdir ms",
                "rebuild ms", "ratio", "with facts ms", "ratio");

    char pattern[] = "/tmp/morvane-filelist-XXXXXX";
    const char* root = mkdtemp(pattern);
    if (root == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    for (const int count : counts) {
        const std::string folder = std::string(root) + "/" + std::to_string(count);
        MakeFolder(folder, count);
        const int rounds = count > 50000 ? 5 : 15;
        double read = 1e9, rebuild = 1e9, facts = 1e9;
        std::size_t listed = 0;
        for (int round = 0; round < rounds; ++round) {
            TClock::time_point start = TClock::now();
            ReadNames(folder);
            read = std::min(read, Seconds(start));
            start = TClock::now();
            listed = Rebuild(folder, false);
            rebuild = std::min(rebuild, Seconds(start));
            start = TClock::now();
            Rebuild(folder, true);
            facts = std::min(facts, Seconds(start));
        }
        std::printf("%-9d %8zu %14.1f %14.1f %7.2f %16.1f %7.2f\n", count, listed, read * 1e3,
                    rebuild * 1e3, rebuild / read, facts * 1e3, facts / read);
    }
    std::filesystem::remove_all(root);
    std::printf(
        "\n(ratio: time / time of the plain read of the same folder; best of 15 rounds, "
        "5 above 50000 entries)\n");
    return 0;
}
