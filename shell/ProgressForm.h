#pragma once

#include "conversion/ConversionState.h"
#include "conversion/Services.h"
#include "shell/EventPump.h"

#include <QTimer>
#include <QWidget>

#include <memory>

namespace Ui {
class TProgressForm;
}
class TProgressBar;

// The progress window: the current file's bar, the whole run's bar, and Timer1, which while on
// copies the main window's ProgressCount into the current file's bar every 100 ms. It has no
// title-bar buttons: only the run closes it. While a converter works it hears the work steps and
// lets the windows paint and Timer1 tick about every 100 ms (TEventPump). It belongs to owner (the
// main window), above which it stays.
class TProgressForm : public QWidget, public TProgressService, public TStepListener {
public:
    explicit TProgressForm(const TConversionState& state, QWidget* owner = nullptr);

    // Shows the window painted whole before the run goes on, its current-file bar empty.
    ~TProgressForm() override;

    void Show() override;
    void Close() override;
    void SetCaption(const TUserText& caption) override;
    void SetBar(TBar bar, TBarField field, int value) override;
    int GetBar(TBar bar, TBarField field) const override;
    void SetTimer(bool enabled) override;
    void Stepped(std::int32_t count) override;

    void Timer1Timer();

    QTimer Timer1;

private:
    TProgressBar& Bar(TBar bar) const;

    std::unique_ptr<Ui::TProgressForm> m_ui;
    const TConversionState& m_state;
    TEventPump m_pump;
};
