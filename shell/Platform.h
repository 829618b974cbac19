#pragma once

// What the windows ask of the operating system beyond Qt. Platform.cpp is the one file of shell/
// that differs between Linux and Windows; on Windows every name is code page 932, through the
// system's table of that code page whatever the system's own code page is.

#include <QString>

#include <string>
#include <string_view>
#include <vector>

// Code page 932 bytes as text; a byte that is no character shows as U+FFFD. Linux: ICU's
// windows-31j; Windows: the system's table (the Qt built for Windows has no ICU).
QString DecodeCodePage932(std::string_view bytes);

// The files and folders given on the command line, as the file system spells them, after Qt has
// taken out its own options. Linux: argv's bytes. Windows: the wide command line in code page 932,
// so a Japanese name works on a Windows of any code page, and a character that code page 932
// lacks makes its name name no file.
std::vector<std::string> CommandLineNames(int argc, char** argv);

// True when the program in exeDir (as the file system spells it) is installed, rather than run
// from a folder of its own such as a build tree or an unpacked archive. Linux: see
// IsInstalledLayout. Windows: exeDir lies in a Program Files folder, the user cannot make files
// there, or its name has no code page 932 form.
bool IsInstalledProgram(const std::string& exeDir);

// The folder in which an installed program keeps its two files, with its separator at the end;
// empty when there is none. Linux: see ProgramFolder. Windows: the Morvane folder in %APPDATA% (in
// its short form when the long one has no code page 932 form).
std::string UserProgramFolder(const std::string& exeDir);

// The folder of Qt's own translations (qtbase_LANGUAGE.qm). Linux: Qt's translations folder, which
// Debian's qt6-translations-l10n fills. Windows: the program's resources, which hold the Japanese
// one.
QString QtTranslationsFolder();
