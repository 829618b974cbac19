#include "shell/ProgressForm.h"

#include "ui_ProgressForm.h"

#include "shell/OnScreen.h"
#include "shell/ProgressBar.h"
#include "shell/QtText.h"

#include <QWindow>

namespace {
constexpr int TICK_MS = 100;
// How long the run waits at most for the window system to show the window.
constexpr int EXPOSE_WAIT_MS = 1000;
}  // namespace

TProgressForm::TProgressForm(const TConversionState& state, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      m_ui(std::make_unique<Ui::TProgressForm>()),
      m_state(state),
      m_pump(TICK_MS) {
    m_ui->setupUi(this);
    setFixedSize(size());
    move(246, 292);
    KeepOnScreen(*this, owner);
    Timer1.setObjectName("Timer1");
    Timer1.setInterval(TICK_MS);
    connect(&Timer1, &QTimer::timeout, this, &TProgressForm::Timer1Timer);
}

TProgressForm::~TProgressForm() = default;

void TProgressForm::Show() {
    // The bar of the file before, full or stopped half-way, is not this run's.
    m_ui->ProgressBar1->SetPosition(m_ui->ProgressBar1->Min());
    show();
    raise();
    // Painted whole before the first record's work, since the run goes on without returning to
    // the event loop: once the window system shows the window, its contents are drawn at once.
    m_pump.PumpUntil([this] { return windowHandle() == nullptr || windowHandle()->isExposed(); },
                     EXPOSE_WAIT_MS);
    repaint();
    m_pump.Pump();
}

void TProgressForm::Close() { hide(); }

void TProgressForm::SetCaption(const TUserText& caption) {
    setWindowTitle(FromUserText(caption));
    m_pump.MaybePump();
}

TProgressBar& TProgressForm::Bar(TBar bar) const {
    return bar == TBar::ProgressBar1 ? *m_ui->ProgressBar1 : *m_ui->ProgressBar2;
}

void TProgressForm::SetBar(TBar bar, TBarField field, int value) {
    TProgressBar& target = Bar(bar);
    switch (field) {
        case TBarField::Min:
            target.SetMin(value);
            break;
        case TBarField::Max:
            target.SetMax(value);
            break;
        case TBarField::Position:
            target.SetPosition(value);
            break;
    }
    // A run of many small records steps the whole-run bar more often than any converter steps.
    if (bar == TBar::ProgressBar2 && isVisible()) {
        m_pump.MaybePump();
    }
}

int TProgressForm::GetBar(TBar bar, TBarField field) const {
    const TProgressBar& target = Bar(bar);
    switch (field) {
        case TBarField::Min:
            return target.Min();
        case TBarField::Max:
            return target.Max();
        case TBarField::Position:
            return target.Position();
    }
    return 0;
}

void TProgressForm::SetTimer(bool enabled) {
    if (enabled) {
        Timer1.start();
    } else {
        Timer1.stop();
    }
}

void TProgressForm::Stepped(std::int32_t) { m_pump.MaybePump(); }

void TProgressForm::Timer1Timer() {
    m_ui->Label1->repaint();
    m_ui->Label2->repaint();
    m_ui->ProgressBar1->SetPosition(m_state.ProgressCount);
    m_ui->Label1->update();
}
