#include "selection/StatusLine.h"

#include <QFontMetricsF>
#include <QSizeGrip>
#include <QStatusBar>

namespace {
// What the status bar keeps free of its message: 6 pixels on the left, 12 on the right. A pixel
// more, so that a text the font's hinting draws a little wider at another scale still fits.
constexpr qreal BAR_MARGINS = 6 + 12 + 1;
}  // namespace

std::size_t FittingForm(const QFont& font, qreal room, const std::vector<std::string>& forms) {
    const QFontMetricsF metrics(font);
    for (std::size_t i = 0; i < forms.size(); ++i) {
        if (metrics.horizontalAdvance(QString::fromStdString(forms[i])) <= room) {
            return i;
        }
    }
    return forms.empty() ? 0 : forms.size() - 1;
}

qreal StatusRoom(const QStatusBar& bar) {
    qreal room = bar.width() - BAR_MARGINS;
    if (const auto* grip = bar.findChild<QSizeGrip*>(); grip != nullptr && grip->isVisible()) {
        room -= bar.width() - grip->x() - 12;
    }
    return room;
}

void ShowStatus(QStatusBar& bar, const std::vector<std::string>& forms) {
    if (forms.empty()) {
        bar.clearMessage();
        bar.setToolTip({});
        return;
    }
    const std::size_t shown = FittingForm(bar.font(), StatusRoom(bar), forms);
    bar.showMessage(QString::fromStdString(forms[shown]));
    bar.setToolTip(shown == 0 ? QString() : QString::fromStdString(forms.front()));
}
