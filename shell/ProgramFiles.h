#pragma once

#include "conversion/ConversionSettings.h"
#include "conversion/Services.h"
#include "selection/CandidateRows.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The window position and the four conversion settings, as the settings file keeps them, and
// whether the viewer shows the board, which the program keeps in a section of its own.
struct TStoredSettings {
    std::int32_t top = 100;
    std::int32_t left = 100;
    TConversionSettings conversion;
    // "VIEWBOARD" of "[MORVANE]": 0 hides the viewer's board, any other value shows it.
    std::int32_t viewBoard = 1;
    friend bool operator==(const TStoredSettings&, const TStoredSettings&) = default;
};

// The two files the program keeps in its folder: the stored candidate list (flvback.dat, one full
// path a line) and the settings (tessaro.ini). Both are replaced whole through a temporary file,
// so a failed write leaves the old file as it was.
class TProgramFiles {
public:
    // folder ends with its separator.
    TProgramFiles(std::string folder, TFileService& files);

    std::string ListPath() const;
    std::string SettingsPath() const;

    // The stored rows, in file order, but for those whose folder is there without their file and
    // lines that name no file in a folder; none without the list file. Throws TFileError (Open)
    // when the file is there but cannot be read.
    std::vector<TCandidateRow> LoadList();
    // The same rows, each handed to row as it is read, in file order: the name and the folder,
    // valid during the call.
    void LoadList(
        const std::function<void(std::string_view name, std::string_view directory)>& row);
    // Stores the rows' full paths, or deletes the file when there are none (a failed deletion is
    // let be). Throws TFileError (Create) when the file cannot be written.
    void SaveList(const std::vector<TCandidateRow>& rows);

    // The seven values; a missing or unreadable file, a missing key or a value that is no number
    // gives the default.
    TStoredSettings LoadSettings();
    // Writes the values into the file, keeping everything else in it; "VIEWBOARD" only when the
    // file has it or it is not the default, so a user who never hides the board keeps the classic
    // file. Throws TUserError
    // "<path> に書き込めません" when the file cannot be read back or written.
    void SaveSettings(const TStoredSettings& settings);

private:
    // Writes bytes over path in one step. False when it could not.
    bool SaveOver(const std::string& path, std::string_view bytes);

    std::string m_folder;
    TFileService& m_files;
};

// The folder of the two files, with its trailing "/": beside the executable in exeDir when the
// program runs from a folder of its own, or the user's configuration folder
// ($XDG_CONFIG_HOME/morvane, by default ~/.config/morvane) when it is installed. configHome is the
// value of that variable, empty when unset; home the user's home folder (see HomeFolder). Empty
// when the program is installed and neither is an absolute folder.
std::string ProgramFolder(std::string_view exeDir, bool installed, std::string_view configHome,
                          std::string_view home);
