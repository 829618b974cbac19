#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>

// Keeps the windows alive while a conversion holds the GUI thread: at most once an interval it
// lets pending paint and timer events run (so the progress timer ticks and the bars move), and
// drops the user's input that arrived meanwhile, so nothing the user does during a run can start
// a second run, close a window or act on rows that the run is changing. Files dropped on the list
// pass: the main window keeps them until the run ends. A pump may happen inside another (an event
// it lets run pumps again): input stays dropped until the outermost one ends.
class TEventPump : public QObject {
public:
    explicit TEventPump(int intervalMs);

    // Starts the clock anew, at the start of a run.
    void Restart();
    // Pumps when an interval has passed since the last pump (or the restart). Cheap otherwise.
    void MaybePump();
    // Lets the pending events run now, dropping user input.
    void Pump();
    // Lets events run as they come, dropping user input, until done() or maxMs have passed.
    void PumpUntil(const std::function<bool()>& done, int maxMs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs body with user input dropped.
    template <typename Body>
    void Filtered(Body&& body);

    QElapsedTimer m_clock;
    int m_intervalMs;
    int m_depth = 0;
};
