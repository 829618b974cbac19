// morvane: the window program. Files and folders given as arguments become rows of its list; when
// it already runs for the same folder, they go to that program instead.

#include "conversion/Services.h"
#include "shell/Dialogs.h"
#include "shell/Fonts.h"
#include "shell/Instance.h"
#include "shell/MainForm.h"
#include "shell/Messages.h"
#include "shell/OpenFiles.h"
#include "shell/Program.h"

#include <QApplication>

#include <string>
#include <vector>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("morvane");
    // Lets a desktop match the window to the menu entry morvane.desktop and its icon.
    QGuiApplication::setDesktopFileName("morvane");
    // Closing the main window ends the program, even with the viewer still open.
    QApplication::setQuitOnLastWindowClosed(false);

    // Qt has taken its own options out of argv; the rest are files, as the file system spells them.
    const std::vector<std::string> files = AbsolutePaths({argv + 1, argv + argc});
    const std::string folder = ProgramFolderOfThisExecutable();
    const QString instance = InstanceName(folder);
    if (HandOver(instance, files)) {
        return 0;
    }

    UseClassicFont();
    TMessageBoxes messages;
    TDesktopDialogs dialogs;
    TDiskFileService disk;
    TMainForm form(messages, dialogs, disk, folder);
    form.OnClosed = [] { QApplication::quit(); };
    TInstanceServer server(instance, [&form](const std::vector<std::string>& paths) {
        form.OpenFiles(paths, TMainForm::TOpener::CommandLine);
        form.showNormal();
        form.raise();
        form.activateWindow();
    });
    if (!files.empty()) {
        form.OpenFiles(files, TMainForm::TOpener::CommandLine);
    }
    form.show();
    return application.exec();
}
