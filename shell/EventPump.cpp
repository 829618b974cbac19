#include "shell/EventPump.h"

#include <QCoreApplication>
#include <QEvent>

TEventPump::TEventPump(int intervalMs) : m_intervalMs(intervalMs) { m_clock.start(); }

void TEventPump::Restart() { m_clock.restart(); }

void TEventPump::MaybePump() {
    if (m_clock.elapsed() >= m_intervalMs) {
        Pump();
    }
}

void TEventPump::Pump() {
    QCoreApplication::instance()->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::instance()->removeEventFilter(this);
    m_clock.restart();
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
