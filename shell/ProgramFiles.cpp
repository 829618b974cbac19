#include "shell/ProgramFiles.h"

#include "conversion/FileError.h"
#include "conversion/LineList.h"
#include "conversion/Paths.h"
#include "conversion/Text.h"
#include "shell/Profile.h"
#include "shell/ShellTexts.h"

namespace {

constexpr char LIST_FILE[] = "flvback.dat";
constexpr char SETTINGS_FILE[] = "tessaro.ini";

struct TIntKey {
    const char* section;
    const char* key;
    std::int32_t& (*field)(TStoredSettings&);
};

// The six keys of the classic program, in the order they are read and written.
constexpr TIntKey KEYS[] = {
    {"FORM", "TOP", [](TStoredSettings& s) -> std::int32_t& { return s.top; }},
    {"FORM", "LEFT", [](TStoredSettings& s) -> std::int32_t& { return s.left; }},
    {"SETTING", "SGFCONV",
     [](TStoredSettings& s) -> std::int32_t& { return s.conversion.SGFConv; }},
    {"SETTING", "UGFCONV",
     [](TStoredSettings& s) -> std::int32_t& { return s.conversion.UGFConv; }},
    {"SETTING", "SSGFAPLI",
     [](TStoredSettings& s) -> std::int32_t& { return s.conversion.SSGFApli; }},
    {"SETTING", "USGFAPLI",
     [](TStoredSettings& s) -> std::int32_t& { return s.conversion.USGFApli; }},
};

// Where the viewer's board is remembered: a section of the program's own, beside the classic ones.
constexpr TIntKey VIEW_BOARD = {"MORVANE", "VIEWBOARD",
                                [](TStoredSettings& s) -> std::int32_t& { return s.viewBoard; }};

TUserError CannotWrite(const std::string& path) {
    return TUserError(TUserText().Name(path).Text(texts::CANNOT_WRITE));
}

}  // namespace

TProgramFiles::TProgramFiles(std::string folder, TFileService& files)
    : m_folder(std::move(folder)), m_files(files) {}

std::string TProgramFiles::ListPath() const { return JoinPath(m_folder, LIST_FILE); }

std::string TProgramFiles::SettingsPath() const { return JoinPath(m_folder, SETTINGS_FILE); }

std::vector<TCandidateRow> TProgramFiles::LoadList() {
    std::vector<TCandidateRow> rows;
    LoadList([&](std::string_view name, std::string_view directory) {
        rows.push_back({std::string(name), std::string(directory)});
    });
    return rows;
}

void TProgramFiles::LoadList(
    const std::function<void(std::string_view name, std::string_view directory)>& row) {
    const std::string path = ListPath();
    if (!m_files.Exists(path)) {
        return;
    }
    const std::string text = m_files.Load(path);
    // One buffer holds each line in turn: a list of thousands of rows keeps no copy of its lines.
    std::string line;
    // The rows of one folder mostly come together. The text before a line's name (its last
    // delimiter included) alone decides the folder, which is taken apart again only when it
    // changes.
    std::string prefix;
    std::string directory;
    TLineCursor cursor(text);
    for (std::string_view next; cursor.Next(next);) {
        line.assign(next);
        const std::string name = ExtractFileName(line);
        const std::string_view linePrefix =
            std::string_view(line).substr(0, line.size() - name.size());
        if (linePrefix != prefix) {
            prefix.assign(linePrefix);
            directory = ExtractFileDir(line);
        }
        // A line without a folder is no row the program stored: joined again, its empty folder
        // would name a file at the root.
        if (name.empty() || directory.empty()) {
            continue;
        }
        // A row goes only when its folder is there without the file: a folder that is away (a
        // drive not plugged in, a share not mounted) keeps its rows for when it is back.
        if (m_files.Exists(line) || !m_files.FolderExists(directory)) {
            row(name, directory);
        }
    }
}

void TProgramFiles::SaveList(const std::vector<TCandidateRow>& rows) {
    const std::string path = ListPath();
    if (rows.empty()) {
        if (m_files.Exists(path)) {
            (void)m_files.Delete(path);
        }
        return;
    }
    TLineList lines;
    lines.reserve(rows.size());
    for (const TCandidateRow& row : rows) {
        lines.push_back(JoinPath(row.directory, row.name));
    }
    if (!SaveOver(path, JoinLines(lines))) {
        throw TFileError(TFileErrorKind::Create, path);
    }
}

TStoredSettings TProgramFiles::LoadSettings() {
    TStoredSettings settings;
    TProfile profile;
    try {
        if (m_files.Exists(SettingsPath())) {
            profile = TProfile(m_files.Load(SettingsPath()));
        }
    } catch (const TFileError&) {
        // An unreadable settings file reads as a missing one: every value its default.
    }
    const auto read = [&](const TIntKey& key) {
        const std::optional<std::string> text = profile.ReadString(key.section, key.key);
        if (const std::optional<std::int32_t> value =
                text ? ParseProfileInt(*text) : std::nullopt) {
            key.field(settings) = *value;
        }
    };
    for (const TIntKey& key : KEYS) {
        read(key);
    }
    read(VIEW_BOARD);
    return settings;
}

void TProgramFiles::SaveSettings(const TStoredSettings& settings) {
    const std::string path = SettingsPath();
    TProfile profile;
    if (m_files.Exists(path)) {
        try {
            profile = TProfile(m_files.Load(path));
        } catch (const TFileError&) {
            // Writing now would lose what the file holds.
            throw CannotWrite(path);
        }
    }
    TStoredSettings values = settings;
    for (const TIntKey& key : KEYS) {
        profile.WriteString(key.section, key.key, IntToText(key.field(values)));
    }
    if (settings.viewBoard != TStoredSettings().viewBoard ||
        profile.ReadString(VIEW_BOARD.section, VIEW_BOARD.key)) {
        profile.WriteString(VIEW_BOARD.section, VIEW_BOARD.key, IntToText(settings.viewBoard));
    }
    if (!SaveOver(path, profile.Bytes())) {
        throw CannotWrite(path);
    }
}

bool TProgramFiles::SaveOver(const std::string& path, std::string_view bytes) {
    std::string temporary;
    try {
        temporary = m_files.SaveTemporary(path, bytes, TDurability::Kept);
    } catch (const TFileError&) {
        return false;
    }
    if (!m_files.Replace(temporary, path)) {
        (void)m_files.Delete(temporary);
        return false;
    }
    return true;
}

std::string ProgramFolder(std::string_view exeDir, bool installed, std::string_view configHome,
                          std::string_view home) {
    if (!installed) {
        return JoinPath(exeDir, "");
    }
    // A relative XDG_CONFIG_HOME is to be ignored, as the base directory rules say; without a
    // home, a configuration folder at the root would be no user's.
    const auto absolute = [](std::string_view folder) {
        return !folder.empty() && folder.front() == '/';
    };
    if (!absolute(configHome) && !absolute(home)) {
        return {};
    }
    const std::string base =
        absolute(configHome) ? std::string(configHome) : JoinPath(home, ".config");
    return JoinPath(JoinPath(base, "morvane"), "");
}
