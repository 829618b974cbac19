#include "shell/Program.h"

#include "shell/ListRules.h"
#include "shell/ProgramFiles.h"
#include "shell/QtText.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdlib>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string ProgramFolderOfThisExecutable() {
    const std::string exeDir = ToName(QCoreApplication::applicationDirPath());
    const bool installed = IsInstalledLayout(exeDir);
    const std::string folder =
        ProgramFolder(exeDir, installed, Environment("XDG_CONFIG_HOME"), Environment("HOME"));
    if (installed) {
        QDir().mkpath(FromName(folder));
    }
    return folder;
}
