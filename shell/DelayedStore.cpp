#include "shell/DelayedStore.h"

TDelayedStore::TDelayedStore(std::function<void()> store) : m_store(std::move(store)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(DELAY_MS);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_store(); });
}

void TDelayedStore::Changed() {
    if (!m_timer.isActive()) {
        m_timer.start();
    }
}
