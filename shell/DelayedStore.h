#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Stores what a window keeps on disk a short while after it changes, so that an end the window
// never sees (a crash, kill -9, a lost display, a power cut) costs at most that while of changes.
// The first change since the last store sets the time: changes that follow go with it, so a stream
// of them (a long run) is stored once a while rather than put off until it ends. The timer runs
// from the event loop, and so also while a run lets the windows paint.
class TDelayedStore : public QObject {
public:
    explicit TDelayedStore(std::function<void()> store);

    // Something to store has changed.
    void Changed();
    // Everything is stored now (by an end that stores at once): nothing is due.
    void Stored() { m_timer.stop(); }

private:
    static constexpr int DELAY_MS = 1000;

    std::function<void()> m_store;
    QTimer m_timer;
};
