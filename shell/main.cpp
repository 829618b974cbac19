// morvane: the window program. Files and folders given as arguments become rows of its list; when
// it already runs for the same folder, they go to that program instead.

#include "conversion/Services.h"
#include "shell/Dialogs.h"
#include "shell/Fonts.h"
#include "shell/Instance.h"
#include "shell/MainForm.h"
#include "shell/Messages.h"
#include "shell/OpenFiles.h"
#include "shell/Platform.h"
#include "shell/Program.h"
#include "shell/Translations.h"

#include <QApplication>

#include <memory>
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
    const std::vector<std::string> files = AbsolutePaths(CommandLineNames(argc, argv));
    const std::string folder = ProgramFolderOfThisExecutable();
    const QString instance = InstanceName(folder);
    if (HandOver(instance, files)) {
        return 0;
    }
    // Listening before the window is made, so a start that comes meanwhile finds this program;
    // what it hands over waits for the window.
    TMainForm* window = nullptr;
    std::vector<std::vector<std::string>> early;
    const auto opened = [&window, &early](const std::vector<std::string>& paths) {
        if (window == nullptr) {
            early.push_back(paths);
            return;
        }
        if (!paths.empty()) {
            window->OpenFiles(paths, TMainForm::TOpener::CommandLine);
        }
        window->showNormal();
        window->raise();
        window->activateWindow();
    };
    auto server = std::make_unique<TInstanceServer>(instance, opened);
    if (!server->Listening() && HandOver(instance, files)) {
        return 0;  // another start took the name first
    }

    UseClassicFont();
    const std::unique_ptr<QTranslator> translations = UseQtTranslations();
    TMessageBoxes messages;
    TDesktopDialogs dialogs;
    TDiskFileService disk;
    TMainForm form(messages, dialogs, disk, folder);
    form.OnClosed = [] { QApplication::quit(); };
    window = &form;
    if (!files.empty()) {
        form.OpenFiles(files, TMainForm::TOpener::CommandLine);
    }
    for (const std::vector<std::string>& paths : early) {
        opened(paths);
    }
    form.show();
    const int status = application.exec();
    // The window is going: later starts no longer reach it.
    window = nullptr;
    server.reset();
    return status;
}
