#pragma once

#include "conversion/ConversionState.h"
#include "selection/CandidateRows.h"

class QComboBox;
class QWidget;

// The modal windows the main window opens, each made anew for one opening and discarded after it.
// Tests answer them without opening anything.
class TDialogs {
public:
    virtual ~TDialogs() = default;
    // The add-files dialog: appends the chosen files to rows, keeps the folder history in history.
    virtual void AddFiles(QWidget* parent, TCandidateRows& rows, QComboBox& history) = 0;
    // The settings window over the four conversion settings of state.
    virtual void Settings(QWidget* parent, TConversionState& state) = 0;
    // The About box.
    virtual void About(QWidget* parent) = 0;
};

// The real windows.
class TDesktopDialogs : public TDialogs {
public:
    void AddFiles(QWidget* parent, TCandidateRows& rows, QComboBox& history) override;
    void Settings(QWidget* parent, TConversionState& state) override;
    void About(QWidget* parent) override;
};
