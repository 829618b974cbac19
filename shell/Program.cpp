#include "shell/Program.h"

#include "shell/ListRules.h"
#include "shell/ProgramFiles.h"
#include "shell/QtText.h"
#include "shell/Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

TProgramPlace ProgramPlaceOfThisExecutable() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const bool installed =
        IsInstalledLayout(ToName(exeDir), QFileInfo(exeDir).isWritable(), MORVANE_INSTALL_BIN);
    TProgramPlace place;
    place.folder =
        ProgramFolder(ToName(exeDir), installed, Environment("XDG_CONFIG_HOME"), HomeFolder());
    if (installed) {
        place.usable = !place.folder.empty() && QDir().mkpath(FromName(place.folder));
    }
    return place;
}
