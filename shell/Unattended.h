#pragma once

#include "shell/Dialogs.h"
#include "shell/Messages.h"

#include <cstdio>

// The main window's boxes and dialogs for tools that run it with nobody there (the pictures of
// scripts/screens, the window benchmark): boxes are answered at once, an error that ends a handler
// goes to standard error, and no dialog opens.
class TUnattendedMessages : public TShellMessages {
public:
    void Info(const TUserText&) override {}
    void Error(const TUserText&) override {}
    void ApplicationError(const TUserText& text) override {
        std::fprintf(stderr, "morvane: %s\n", text.Bytes().c_str());
    }
    void SetOwner(QWidget*) override {}
};

class TUnattendedDialogs : public TDialogs {
public:
    void AddFiles(QWidget*, TCandidateRows&, QComboBox&) override {}
    void Settings(QWidget*, TConversionState&) override {}
    void About(QWidget*) override {}
};
