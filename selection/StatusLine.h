#pragma once

#include <QFont>
#include <QString>

#include <string>
#include <vector>

class QStatusBar;

// The first of forms (UTF-8, the whole text first, then shorter ones) that font shows whole in
// room pixels; the last when none does.
std::size_t FittingForm(const QFont& font, qreal room, const std::vector<std::string>& forms);

// The room a status bar gives its message, in pixels.
qreal StatusRoom(const QStatusBar& bar);

// Shows in bar the first of forms that it shows whole (FittingForm), never a cut text; when that
// is a shorter form, the whole text is the bar's hint.
void ShowStatus(QStatusBar& bar, const std::vector<std::string>& forms);
