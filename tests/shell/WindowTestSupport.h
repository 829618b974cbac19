#pragma once

#include "conversion/ConversionState.h"
#include "shell/Dialogs.h"
#include "shell/Messages.h"
#include "tests/support/FakeServices.h"

#include <functional>
#include <string>
#include <vector>

// A plain UGF record of moves moves, which takes a converter a while when there are many.
std::string UgfOfMoves(int moves);

// Message boxes that log "<kind> <text as the user reads it>" and return at once.
class TLoggedMessages : public TShellMessages {
public:
    void Info(const TUserText& text) override;
    void Error(const TUserText& text) override;
    void ApplicationError(const TUserText& text) override;
    void SetOwner(QWidget* owner) override { this->owner = owner; }

    std::vector<std::string> log;
    // The owner of each box logged, in order.
    std::vector<QWidget*> owners;
    QWidget* owner = nullptr;
};

// Modal windows answered by the test: each opening runs the test's answer, if any, and is logged.
class TAnsweredDialogs : public TDialogs {
public:
    void AddFiles(QWidget* parent, TCandidateRows& rows, QComboBox& history) override;
    void Settings(QWidget* parent, TConversionState& state) override;
    void About(QWidget* parent) override;

    std::function<void(TCandidateRows&, QComboBox&)> addFiles;
    std::function<void(TConversionState&)> settings;
    std::vector<std::string> log;
};
