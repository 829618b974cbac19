#include "shell/Program.h"

#include "conversion/Paths.h"
#include "shell/Platform.h"
#include "shell/QtText.h"

#include <QCoreApplication>
#include <QDir>

TProgramPlace ProgramPlaceOfThisExecutable() {
    // Qt spells the folder with "/"; the files' paths, shown in messages, take Windows' "\".
    const std::string exeDir =
        ToName(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    const bool installed = IsInstalledProgram(exeDir);
    TProgramPlace place;
    place.folder = installed ? UserProgramFolder(exeDir) : JoinPath(exeDir, "");
    if (installed) {
        place.usable = !place.folder.empty() && QDir().mkpath(FromName(place.folder));
    }
    return place;
}
