#pragma once

#include "conversion/UserText.h"
#include "selection/Names.h"

#include <QString>

#include <string>
#include <string_view>

// Where bytes become QString and back: program and record text is code page 932, file names are
// the file system's bytes (FromName and ToName, which the add-files dialog shares).

// Code page 932 bytes as text; a byte that is no character shows as U+FFFD.
QString FromShiftJis(std::string_view bytes);
// FromShiftJis(bytes) appended to text.
void AppendShiftJis(std::string_view bytes, QString& text);
// A text for the user, each piece decoded by its own rule.
QString FromUserText(const TUserText& text);
