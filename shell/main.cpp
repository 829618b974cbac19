// morvane: the window program. Files and folders given as arguments become rows of its list; when
// it already runs for the same folder, they go to that program instead.

#include "conversion/Services.h"
#include "selection/Fonts.h"
#include "shell/Dialogs.h"
#include "shell/Instance.h"
#include "shell/MainForm.h"
#include "shell/Messages.h"
#include "shell/OpenFiles.h"
#include "shell/Platform.h"
#include "shell/Program.h"
#include "shell/Session.h"
#include "shell/ShellTexts.h"
#include "shell/Translations.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cstdlib>
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
    UseClassicFont();
    const std::unique_ptr<QTranslator> translations = UseQtTranslations();
    TMessageBoxes messages;

    // Qt has taken its own options out of argv; the rest are files, as the file system spells them.
    const std::vector<std::string> files = AbsolutePaths(CommandLineNames(argc, argv));
    const TProgramPlace place = ProgramPlaceOfThisExecutable();

    // The first start for the folder listens before the window is made, so a start that comes
    // meanwhile finds it; what that start hands over waits for the window.
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
    TInstance instance;
    switch (instance.Start(SessionFolder(), place.folder, files, opened)) {
        case TStartKind::HandedOver:
            // Nothing of this start's is left to keep: it ends at once, without taking down Qt's
            // windows platform, which under Wine now and then never ends.
            std::_Exit(0);
        case TStartKind::NoAnswer:
            // Another program holds the folder's files: this one touches nothing.
            messages.ApplicationError(texts::NO_ANSWER);
            return 1;
        case TStartKind::Alone:
            // Two windows may run for the folder: the user is told once, and each window's list
            // goes to disk as it changes.
            messages.ApplicationError(
                TUserText(texts::NO_PRIVATE_FOLDER).Text(texts::SECOND_WINDOWS));
            break;
        case TStartKind::NoChannel:
            messages.ApplicationError(TUserText(texts::NO_CHANNEL).Text(texts::SECOND_WINDOWS));
            break;
        case TStartKind::First:
            break;
    }

    TDesktopDialogs dialogs;
    TDiskFileService disk;
    if (!place.usable) {
        messages.ApplicationError(
            TUserText(texts::FOLDER_PREFIX).Name(place.folder).Text(texts::CANNOT_MAKE_FOLDER));
    }
    TMainForm form(messages, dialogs, disk, place.folder);
    if (!place.usable) {
        form.StoreNothing();
    }
    form.OnClosed = [] { QApplication::quit(); };
    window = &form;

    // Asked to end by a signal or by the desktop session, the program keeps what a close keeps.
    std::unique_ptr<QSocketNotifier> endSignals;
    if (const int descriptor = EndSignalDescriptor(); descriptor >= 0) {
        endSignals = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        QObject::connect(endSignals.get(), &QSocketNotifier::activated, &form, [&form, descriptor] {
            TakeEndSignal(descriptor);
            form.RequestEnd();
        });
    }
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager&) { form.Store(); });

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
    return status;
}
