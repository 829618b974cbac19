#pragma once

#include <QElapsedTimer>
#include <QObject>

// Keeps the windows alive while a conversion holds the GUI thread: at most once an interval it
// lets pending paint and timer events run (so the progress timer ticks and the bars move), and
// drops the user's input that arrived meanwhile, so nothing the user does during a run can start
// a second run, close a window or act on rows that the run is changing. Files dropped on the list
// pass: the main window keeps them until the run ends.
class TEventPump : public QObject {
public:
    explicit TEventPump(int intervalMs);

    // Starts the clock anew, at the start of a run.
    void Restart();
    // Pumps when an interval has passed since the last pump (or the restart). Cheap otherwise.
    void MaybePump();
    // Lets the pending events run now, dropping user input.
    void Pump();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QElapsedTimer m_clock;
    int m_intervalMs;
};
