#include "shell/ProgressBar.h"

#include "conversion/FileError.h"
#include "shell/ShellTexts.h"

#include <algorithm>

TProgressBar::TProgressBar(QWidget* parent) : QProgressBar(parent) { Show(); }

void TProgressBar::SetMin(int value) { SetRange(value, m_max); }

void TProgressBar::SetMax(int value) { SetRange(m_min, value); }

void TProgressBar::SetRange(int min, int max) {
    if (max < min) {
        throw TUserError(TUserText(texts::PROPERTY_PREFIX)
                             .Text(metaObject()->className())
                             .Text(texts::OUT_OF_RANGE));
    }
    m_min = min;
    m_max = max;
    Show();
}

void TProgressBar::SetPosition(int value) {
    m_position = value;
    Show();
}

void TProgressBar::Show() {
    // Painted with the next paint event, not at once as QProgressBar would: a run sets the bars
    // several times a record, and painting each time would cost more than converting.
    setUpdatesEnabled(false);
    if (m_max == m_min) {
        setRange(0, 1);
        setValue(m_position >= m_max ? 1 : 0);
    } else {
        setRange(m_min, m_max);
        setValue(std::clamp(m_position, m_min, m_max));
    }
    setUpdatesEnabled(true);
}
