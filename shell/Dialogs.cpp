#include "shell/Dialogs.h"

#if __has_include("selection/Addfile.h")  // TEMPORARY until the dialog lands
#include "selection/Addfile.h"
#endif
#include "selection/FolderBrowser.h"
#include "shell/AboutBox.h"
#include "shell/SettingForm.h"

void TDesktopDialogs::AddFiles(QWidget* parent, TCandidateRows& rows, QComboBox& history) {
#if __has_include("selection/Addfile.h")
    TQtFolderBrowser browser;
    TAddfile dialog(rows, history, browser, parent);
    dialog.exec();
#else
    (void)parent, (void)rows, (void)history;
#endif
}

void TDesktopDialogs::Settings(QWidget* parent, TConversionState& state) {
    TSettingForm form(state, parent);
    form.exec();
}

void TDesktopDialogs::About(QWidget* parent) {
    TAboutBox box(parent);
    box.exec();
}
