// The frames of the windows: those the design makes fixed cannot be made larger on any platform
// (a thin dialog frame on Windows, no maximise button), and the settings window, which can, keeps
// its buttons.

#include "conversion/FileOps.h"
#include "shell/AboutBox.h"
#include "shell/MainForm.h"
#include "shell/ProgressForm.h"
#include "shell/SettingForm.h"
#include "tests/shell/WindowTestSupport.h"
#include "tests/support/QtTest.h"
#include "tests/support/TempDir.h"

#include <QPushButton>

#include <gtest/gtest.h>

TEST(Frames, FixedWindowsStayTheirSizeAndTheSettingsKeepTheirButtons) {
    TTempDir dir;
    TLoggedMessages messages;
    TAnsweredDialogs dialogs;
    TDiskFileService disk;
    TMainForm main(messages, dialogs, disk, dir.root + "/");
    TAboutBox about;
    const struct {
        const char* name;
        QWidget* window;
    } fixed[] = {{"main", &main}, {"About", &about}, {"progress", &main.ProgressForm()}};
    for (const auto& row : fixed) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.window->minimumSize(), row.window->maximumSize());
        EXPECT_TRUE(row.window->windowFlags() & Qt::MSWindowsFixedSizeDialogHint);
        EXPECT_FALSE(row.window->windowFlags() & Qt::WindowMaximizeButtonHint);
    }
    TConversionState state;
    TSettingForm settings(state);
    EXPECT_NE(settings.minimumSize(), settings.maximumSize());
    settings.resize(1, 1);
    for (const char* name : {"Button1", "Button2"}) {
        EXPECT_TRUE(settings.rect().contains(Child<QPushButton>(settings, name)->geometry()))
            << name;
    }
}
