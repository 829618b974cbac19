#pragma once

#include "conversion/UserText.h"

#include <QString>

#include <string>
#include <string_view>

// Where bytes become QString and back: program and record text is code page 932, file names are
// the file system's bytes. Nothing else in the windows converts text.

// Code page 932 bytes as text; a byte that is no character shows as U+FFFD.
QString FromShiftJis(std::string_view bytes);
// A file name or path as the file system spells it, decoded by the platform's file-name rule.
QString FromName(std::string_view bytes);
// A file name or path typed or chosen in a window, as the file system spells it.
std::string ToName(const QString& name);
// A text for the user, each piece decoded by its own rule.
QString FromUserText(const TUserText& text);
