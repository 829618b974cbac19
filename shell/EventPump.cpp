#include "shell/EventPump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

TEventPump::TEventPump(int intervalMs) : m_intervalMs(intervalMs) { m_clock.start(); }

void TEventPump::Restart() { m_clock.restart(); }

void TEventPump::MaybePump() {
    if (m_clock.elapsed() >= m_intervalMs) {
        Pump();
    }
}

template <typename Body>
void TEventPump::Filtered(Body&& body) {
    // The clock starts before the events run, so one that steps the run meanwhile does not pump
    // again at once; the filter stays from the outermost pump to its end.
    m_clock.restart();
    if (m_depth++ == 0) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    body();
    if (--m_depth == 0) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    m_clock.restart();
}

void TEventPump::Pump() {
    Filtered([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
}

void TEventPump::PumpUntil(const std::function<bool()>& done, int maxMs) {
    Filtered([&] {
        QElapsedTimer waited;
        waited.start();
        // A timer wakes the wait below when nothing else comes.
        QTimer wake;
        wake.start(10);
        while (!done() && waited.elapsed() < maxMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
    });
}

bool TEventPump::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::Close:
            event->ignore();
            return true;
        default:
            return false;
    }
}
