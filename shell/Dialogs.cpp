#include "shell/Dialogs.h"

#include "selection/Addfile.h"
#include "selection/FolderBrowser.h"
#include "shell/AboutBox.h"
#include "shell/OnScreen.h"
#include "shell/SettingForm.h"

void TDesktopDialogs::AddFiles(QWidget* parent, TCandidateRows& rows, QComboBox& history) {
    TQtFolderBrowser browser;
    TAddfile dialog(rows, history, browser, parent);
    KeepOnScreen(dialog, parent);
    dialog.exec();
}

void TDesktopDialogs::Settings(QWidget* parent, TConversionState& state) {
    TSettingForm form(state, parent);
    KeepOnScreen(form, parent);
    form.exec();
}

void TDesktopDialogs::About(QWidget* parent) {
    TAboutBox box(parent);
    box.exec();
}
