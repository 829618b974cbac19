#include "selection/FileList.h"
#include "selection/Platform.h"
#include "tests/support/Sjis.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using enum TFileAttr;

// The texts joined by spaces; sorted byte by byte first when the order is not the point.
std::string Joined(std::vector<std::string> texts, bool sorted = false) {
    if (sorted) {
        std::sort(texts.begin(), texts.end());
    }
    std::string joined;
    for (const std::string& text : texts) {
        joined += (joined.empty() ? "" : " ") + text;
    }
    return joined;
}

std::string Listed(const TFileList& list, bool sorted = false) {
    return Joined(list.Files(), sorted);
}

// A folder with entries of every kind the listing tells apart.
struct TFolder {
    TFolder() {
        for (const char* name :
             {"b.sgf", "A.SGF", "c.ugf", "x.Sgf", "game.sgf.bak", "sgf", ".hidden.sgf", "ro.sgf"}) {
            dir.Write(name, "(;)");
        }
        fs::create_directory(dir.Path("sub.sgf"));
        dir.Write("sub.sgf/inner.sgf", "(;)");
        chmod(dir.Path("ro.sgf").c_str(), 0444);
    }
    TTempDir dir;
};

// A list of the folder with the given masks; nothing else set.
void Show(TFileList& list, const TFolder& folder, std::vector<std::string> masks) {
    list.Mask() = std::move(masks);
    list.SetDirectory(folder.dir.root);
}

}  // namespace

TEST(FileList, ListsFilesTheMasksMatchWithoutRegardToCase) {
    TFolder folder;
    TFileList list;
    Show(list, folder, {"*.sgf"});
    EXPECT_EQ(Listed(list), "A.SGF b.sgf ro.sgf x.Sgf");
    list.SetMask({"*.UGF", "?.sgf"});
    EXPECT_EQ(Listed(list, true), "A.SGF b.sgf c.ugf x.Sgf");
}

TEST(FileList, AttributeSetsPickTheirEntries) {
    TFolder folder;
    struct Row {
        const char* name;
        TFileType type;
        const char* listed;
    };
    const Row rows[] = {
        {"default: files, read-only too", {ftNormal}, "A.SGF b.sgf ro.sgf x.Sgf"},
        {"directories only, the folder's own too", {ftDirectory}, "[..] [.] [sub.sgf]"},
        {"directories and files",
         {ftDirectory, ftNormal},
         "A.SGF [..] [.] [sub.sgf] b.sgf ro.sgf x.Sgf"},
        {"hidden added", {ftHidden, ftNormal}, ".hidden.sgf A.SGF b.sgf ro.sgf x.Sgf"},
        {"hidden only", {ftHidden}, ".hidden.sgf"},
        {"read-only only", {ftReadOnly}, "ro.sgf"},
        {"system only: Linux has none", {ftSystem}, ""},
        {"empty set", {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TFileList list;
        list.SetFileType(row.type);
        Show(list, folder, {"*.sgf", ".", ".."});
        EXPECT_EQ(Listed(list, true), row.listed);
    }
}

TEST(FileList, KeepsDuplicatesAndCaseEqualNamesSideBySide) {
    TTempDir dir;
    for (const char* name : {"Joseki.sgf", "game.sgf", "fuseki.sgf", "GAME.sgf", "Game.sgf"}) {
        dir.Write(name, "");
    }
    TFileList list;
    list.Mask() = {"*.sgf", "f*", "*"};
    list.SetDirectory(dir.root);
    const std::vector<std::string>& files = list.Files();
    ASSERT_EQ(files.size(), 11u);
    EXPECT_EQ(std::count(files.begin(), files.begin() + 3, "fuseki.sgf"), 3);
    for (std::size_t i = 3; i < 9; ++i) {
        EXPECT_TRUE(files[i] == "game.sgf" || files[i] == "GAME.sgf" || files[i] == "Game.sgf");
    }
    EXPECT_EQ(std::count(files.begin() + 9, files.end(), "Joseki.sgf"), 2);
}

TEST(FileList, SortsByTheLocaleKeysOfAnyNames) {
    // Names alike at the front and of every length, bytes that are no UTF-8 among them, against
    // the plain order of their keys: catches a fault in how the sort shortens its comparisons.
    std::mt19937 random(7);
    const std::vector<std::string> pieces = {"kifu_", "Kifu_", "0",        "1",   "9",
                                             "a",     "B",     "-",        "_",   "\xE6\xA3\x8B",
                                             "\xFF",  "\xC3",  "\xE8\xAD", ".sgf"};
    TTempDir dir;
    for (int i = 0; i < 300; ++i) {
        std::string name = "kifu_";
        for (int n = static_cast<int>(random() % 9); n > 0; --n) {
            name += pieces[random() % pieces.size()];
        }
        dir.Write(name + std::to_string(i % 7), "");
    }
    // A second mask lists some names twice.
    TFileList list;
    list.Mask() = {"*", "*a*"};
    list.SetDirectory(dir.root);
    const std::vector<std::string>& files = list.Files();
    ASSERT_GT(files.size(), static_cast<std::size_t>(std::distance(fs::directory_iterator(dir.root),
                                                                   fs::directory_iterator())));
    for (std::size_t i = 1; i < files.size(); ++i) {
        TSortKeys a, b;
        AppendSortKey(files[i - 1], a);
        AppendSortKey(files[i], b);
        ASSERT_TRUE(a < b || (a == b && files[i - 1] <= files[i])) << i;
    }
}

TEST(FileList, WritesRebuildAndOnlyANewDirectoryIsAnnounced) {
    TTempDir dir;
    dir.Write("a.sgf", "");
    TFileList list;
    int dirChanges = 0, changes = 0;
    list.OnDirChange = [&](TFileList& sender) {
        EXPECT_EQ(&sender, &list);
        ++dirChanges;
    };
    list.OnChange = [&](TFileList&) { ++changes; };
    list.Mask().push_back("*.sgf");
    list.SetDirectory(dir.root);
    EXPECT_EQ(Listed(list), "a.sgf");
    EXPECT_EQ(dirChanges, 1);

    // Nothing is read again until a write changes something: b.sgf stays unseen.
    dir.Write("b.sgf", "");
    list.SetDirectory(dir.root);
    list.SetFileType({ftNormal});
    list.SetMask(list.Mask());
    list.Mask().assign({"*"});
    EXPECT_EQ(Listed(list), "a.sgf");
    list.RebuildList();
    EXPECT_EQ(Listed(list), "a.sgf b.sgf");

    dir.Write("c.sgf", "");
    list.SetFileType({ftNormal, ftReadOnly});
    EXPECT_EQ(Listed(list), "a.sgf b.sgf c.sgf");
    dir.Write("d.sgf", "");
    list.SetMask({"d*"});
    EXPECT_EQ(Listed(list), "d.sgf");
    EXPECT_EQ(dirChanges, 1);

    // Letter case counts: another spelling is another folder.
    std::string upper = dir.root;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    list.SetDirectory(upper);
    EXPECT_EQ(dirChanges, 2);
    EXPECT_EQ(Listed(list), "");
    EXPECT_EQ(changes, 0);
    list.NotifyChange();
    EXPECT_EQ(changes, 1);
}

TEST(FileList, SeparatorRuleOfBothStyles) {
    constexpr TPathStyle WIN = TPathStyle::Windows, POSIX = TPathStyle::Posix;
    struct Row {
        const char* directory;
        TPathStyle style;
        const char* pattern;
    };
    const Row rows[] = {
        {"C:\\Go", WIN, "C:\\Go\\*.sgf"},
        {"C:\\", WIN, "C:\\*.sgf"},
        {"", WIN, "\\*.sgf"},
        {"C:", WIN, "C:\\*.sgf"},
        {"C:\\Go\\", WIN, "C:\\Go\\\\*.sgf"},
        {"abc", WIN, "abc*.sgf"},
        {SJIS_HYO "a", WIN, SJIS_HYO "a*.sgf"},
        {"/home/kifu", POSIX, "/home/kifu/*.sgf"},
        {"/", POSIX, "/*.sgf"},
        {"", POSIX, "/*.sgf"},
        {"abc", POSIX, "abc/*.sgf"},
        {"/kifu/", POSIX, "/kifu//*.sgf"},
        {"//", POSIX, "///*.sgf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.directory);
        EXPECT_EQ(SearchPattern(row.directory, "*.sgf", row.style), row.pattern);
    }
    // An empty directory lists the root.
    TFileList root, empty;
    root.SetFileType({ftDirectory});
    empty.SetFileType({ftDirectory});
    root.Mask() = empty.Mask() = {"*"};
    root.SetDirectory("/");
    empty.RebuildList();
    EXPECT_NE(Listed(root), "");
    EXPECT_EQ(Listed(empty), Listed(root));
}

// POSIX's own kinds of entry (FIFOs, links, names that are no text, mode bits, dot files);
// tests/windows/ListingTest.cpp lists Windows' entries.
#ifndef _WIN32

namespace {

// Where text stands in the list.
std::size_t Index(const TFileList& list, const std::string& text) {
    const auto found = std::find(list.Files().begin(), list.Files().end(), text);
    EXPECT_NE(found, list.Files().end()) << text;
    return static_cast<std::size_t>(found - list.Files().begin());
}

}  // namespace

TEST(FileList, FoldersThatCannotBeListedGiveNothing) {
    TTempDir dir;
    dir.Write("file.sgf", "");
    ASSERT_EQ(mkfifo(dir.Path("fifo").c_str(), 0644), 0);
    for (const std::string& folder :
         {dir.Path("missing"), dir.Path("file.sgf"), dir.Path("fifo")}) {
        SCOPED_TRACE(folder);
        TFileList list;
        list.Mask() = {"*"};
        list.SetDirectory(folder);
        EXPECT_EQ(Listed(list), "");
    }
}

TEST(FileList, ListsOddEntriesWithoutOpeningThem) {
    TTempDir dir;
    // A FIFO would block whoever opened it; links list as what they lead to, or as themselves.
    ASSERT_EQ(mkfifo(dir.Path("pipe.sgf").c_str(), 0644), 0);
    fs::create_directory(dir.Path("real"));
    fs::create_directory_symlink(dir.Path("real"), dir.Path("link.sgf"));
    fs::create_symlink(dir.Path("nowhere"), dir.Path("dangling.sgf"));
    // Names that are no UTF-8, or break off inside a character, keep their bytes.
    const std::string odd[] = {"\xFF\xFE.sgf", "\xE6\xA3.sgf", "\xE6\xA3\x8B\xE8\xAD\x9C.sgf"};
    for (const std::string& name : odd) {
        dir.Write(name, "12345");
    }
    TFileList list;
    list.SetFileType({ftNormal, ftDirectory});
    list.Mask() = {"*.sgf"};
    list.SetDirectory(dir.root);
    std::vector<std::string> expected = {"[link.sgf]", "dangling.sgf", "pipe.sgf"};
    expected.insert(expected.end(), std::begin(odd), std::end(odd));
    EXPECT_EQ(Listed(list, true), Joined(expected, true));
    EXPECT_EQ(list.Info(Index(list, "pipe.sgf")).Attr, 0);
    EXPECT_EQ(list.Info(Index(list, odd[0])).Size, 5);
}

TEST(FileList, InfoHoldsLocalDosTimeLowSizeAndAttributes) {
    TTempDir dir;
    dir.Write("game.sgf", "");
    dir.Write(".hidden", "");
    dir.Write("old.sgf", "");
    fs::create_directory(dir.Path("dir"));
    chmod(dir.Path("dir").c_str(), 0555);
    // Sparse: 4 GiB and 7 bytes, of which the low 32 bits are 7.
    ASSERT_EQ(truncate(dir.Path("game.sgf").c_str(), (1LL << 32) + 7), 0);
    // 2023-04-05 06:07:08 local time; odd seconds count by two.
    std::tm local{};
    local.tm_year = 2023 - 1900;
    local.tm_mon = 3;
    local.tm_mday = 5;
    local.tm_hour = 6;
    local.tm_min = 7;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    const timespec times[2] = {{0, UTIME_OMIT}, {std::mktime(&local), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.Path("game.sgf").c_str(), times, 0), 0);
    const timespec early[2] = {{0, UTIME_OMIT}, {86400 * 365, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.Path("old.sgf").c_str(), early, 0), 0);

    TFileList list;
    list.SetFileType({ftNormal, ftHidden, ftDirectory});
    list.Mask() = {"game.sgf", ".hidden", "dir", "old.sgf"};
    list.SetDirectory(dir.root);
    ASSERT_EQ(Listed(list, true), ".hidden [dir] game.sgf old.sgf");
    const std::uint32_t date = (43u << 9) | (4u << 5) | 5u;
    const std::uint32_t clock = (6u << 11) | (7u << 5) | 4u;
    EXPECT_EQ(list.Info(Index(list, "game.sgf")),
              (TInfo{static_cast<std::int32_t>((date << 16) | clock), 7, 0}));
    EXPECT_EQ(list.Info(Index(list, "[dir]")).Attr, 0x11);
    EXPECT_EQ(list.Info(Index(list, "old.sgf")).Time, 0) << "1971 has no DOS date";

    // An entry gone before its facts are asked for keeps what the listing knew.
    fs::remove(dir.Path(".hidden"));
    EXPECT_EQ(list.Info(Index(list, ".hidden")), (TInfo{0, 0, 0x02}));
}

#endif

namespace {

class TFakeDirectoryBox : public TDirectoryBox {
public:
    std::string Directory() const override { return directory; }
    std::string directory;
};

}  // namespace

TEST(FileList, FollowsABoxAttachedBeforeLoadingUntilItGoes) {
    TTempDir one, two;
    one.Write("one.sgf", "");
    two.Write("two.sgf", "");
    TFakeDirectoryBox box;
    box.directory = one.root;
    int dirChanges = 0;

    TFileList late;
    late.Loaded();
    late.DirBox = &box;
    EXPECT_FALSE(late.PollTimer());

    TFileList list;
    list.Mask() = {"*.sgf"};
    list.OnDirChange = [&](TFileList&) { ++dirChanges; };
    list.DirBox = &box;
    list.Loaded();
    ASSERT_TRUE(list.PollTimer());
    list.PollDirBox();
    list.PollDirBox();
    EXPECT_EQ(Listed(list), "one.sgf");
    EXPECT_EQ(dirChanges, 1);
    box.directory = two.root;
    list.PollDirBox();
    EXPECT_EQ(Listed(list), "two.sgf");
    EXPECT_EQ(dirChanges, 2);

    const TFakeDirectoryBox other;
    list.Notification(other);
    EXPECT_EQ(list.DirBox, &box);
    list.Notification(box);
    EXPECT_EQ(list.DirBox, nullptr);
    list.PollDirBox();
    EXPECT_EQ(dirChanges, 2);
}
