#include "shell/Platform.h"

#include <QCoreApplication>
#include <QStringList>

#include <memory>

#ifdef _WIN32

#include "win32/CodePage932.h"
#include "win32/KnownFolder.h"
#include "win32/Windows.h"

namespace {

// The one spelling of a folder that two paths to it share but for letter case: full, with "\"
// separators, ".." and "." taken out, each part by its long name, without "\\?\" and without a
// separator at the end. A part that is not there keeps the spelling it was given.
std::wstring CanonicalFolder(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        path.replace(0, 8, L"\\\\");
    } else if (path.starts_with(L"\\\\?\\")) {
        path.erase(0, 4);
    }
    const auto call = [](const std::wstring& in, auto function) {
        const DWORD room = function(in.c_str(), 0, nullptr);
        std::wstring out(room, L'\0');
        const DWORD length = room > 0 ? function(in.c_str(), room, out.data()) : 0;
        if (length == 0 || length >= room) {
            return in;
        }
        out.resize(length);
        return out;
    };
    // GetFullPathNameW also turns "/" into "\".
    path = call(path, [](LPCWSTR in, DWORD room, LPWSTR out) {
        return GetFullPathNameW(in, room, out, nullptr);
    });
    path = call(path,
                [](LPCWSTR in, DWORD room, LPWSTR out) { return GetLongPathNameW(in, out, room); });
    while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) {
        path.pop_back();
    }
    return path;
}

// The folders into which programs are installed, for all users and for this one; Windows 10
// keeps the user's, where installers without administrator rights put programs, in
// %LOCALAPPDATA%\Programs.
std::vector<std::wstring> ProgramFolders() {
    std::vector<std::wstring> folders;
    for (const KNOWNFOLDERID* id : {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86}) {
        folders.push_back(KnownFolder(*id));
    }
    std::wstring user = KnownFolder(FOLDERID_UserProgramFiles);
    if (user.empty()) {
        if (const std::wstring local = KnownFolder(FOLDERID_LocalAppData); !local.empty()) {
            user = local + L"\\Programs";
        }
    }
    folders.push_back(user);
    return folders;
}

// True when path is folder or lies in it, letter case ignored as the file system ignores it.
bool IsWithin(const std::wstring& path, const std::wstring& folder) {
    if (folder.empty() || path.size() < folder.size() ||
        (path.size() > folder.size() && path[folder.size()] != L'\\')) {
        return false;
    }
    return CompareStringOrdinal(path.data(), static_cast<int>(folder.size()), folder.data(),
                                static_cast<int>(folder.size()), TRUE) == CSTR_EQUAL;
}

// Whether the user may make files in folder: one made and gone again at once.
bool CanWriteIn(const std::wstring& folder) {
    const std::wstring probe =
        folder + L"\\.morvane-" + std::to_wstring(GetCurrentProcessId()) + L".probe";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace

QString DecodeCodePage932(std::string_view bytes) {
    return QString::fromStdWString(WideFromCodePage932(bytes));
}

std::vector<std::string> CommandLineNames(int, char**) {
    // Qt reads the wide command line here, less the options it took.
    const QStringList arguments = QCoreApplication::arguments();
    std::vector<std::string> names;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        names.push_back(CodePage932FromWide(arguments[i].toStdWString()));
    }
    return names;
}

bool IsInstalledProgram(const std::string& exeDir) {
    // A "?" stands where the folder's name has a character without a code page 932 form: no
    // file there could be named.
    if (exeDir.find('?') != std::string::npos) {
        return true;
    }
    // Qt gives the program's folder with "/", a command line may have given it by its short
    // name: both sides are compared in one spelling.
    const std::wstring folder = CanonicalFolder(WideFromCodePage932(exeDir));
    for (const std::wstring& programs : ProgramFolders()) {
        if (!programs.empty() && IsWithin(folder, CanonicalFolder(programs))) {
            return true;
        }
    }
    return !CanWriteIn(folder);
}

std::string UserProgramFolder(const std::string&) {
    const std::string folder = CodePage932Folder(KnownFolder(FOLDERID_RoamingAppData));
    return folder.empty() ? std::string() : folder + "\\Morvane\\";
}

QString QtTranslationsFolder() { return QStringLiteral(":/qt/translations"); }

#else

#include "selection/Names.h"
#include "shell/ListRules.h"
#include "shell/ProgramFiles.h"
#include "shell/Session.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringDecoder>

#include <cstdlib>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

QString DecodeCodePage932(std::string_view bytes) {
    // Opening ICU's converter costs more than decoding a short piece, and the viewer decodes a
    // record in many pieces: one decoder a thread, made new for each text by resetting it.
    thread_local QStringDecoder decoder("windows-31j");
    decoder.resetState();
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::vector<std::string> CommandLineNames(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool IsInstalledProgram(const std::string& exeDir) {
    const bool writable = QFileInfo(FromName(exeDir)).isWritable();
    return IsInstalledLayout(exeDir, writable, MORVANE_INSTALL_BIN);
}

std::string UserProgramFolder(const std::string& exeDir) {
    return ProgramFolder(exeDir, true, Environment("XDG_CONFIG_HOME"), HomeFolder());
}

QString QtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

#endif
