#include "shell/Program.h"

#include "conversion/Paths.h"
#include "shell/Platform.h"
#include "shell/QtText.h"

#include <QCoreApplication>
#include <QDir>

std::string ProgramFolderOfThisExecutable() {
    const std::string exeDir = ToName(QCoreApplication::applicationDirPath());
    const bool installed = IsInstalledProgram(exeDir);
    const std::string folder = installed ? UserProgramFolder(exeDir) : JoinPath(exeDir, "");
    if (installed) {
        QDir().mkpath(FromName(folder));
    }
    return folder;
}
