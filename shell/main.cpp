// morvane: the window program.

#include "conversion/Services.h"
#include "shell/Dialogs.h"
#include "shell/Fonts.h"
#include "shell/MainForm.h"
#include "shell/Messages.h"
#include "shell/Program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("morvane");
    // Lets a desktop match the window to the menu entry morvane.desktop and its icon.
    QGuiApplication::setDesktopFileName("morvane");
    // Closing the main window ends the program, even with the viewer still open.
    QApplication::setQuitOnLastWindowClosed(false);
    UseClassicFont();

    TMessageBoxes messages;
    TDesktopDialogs dialogs;
    TDiskFileService files;
    TMainForm form(messages, dialogs, files, ProgramFolderOfThisExecutable());
    form.OnClosed = [] { QApplication::quit(); };
    form.show();
    return application.exec();
}
