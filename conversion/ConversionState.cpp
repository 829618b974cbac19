#include "conversion/ConversionState.h"

#include "conversion/KeyTable.h"

TConversionState::TConversionState() { StringSplit.pattern = "="; }

void TConversionState::ClassifyKey(std::string_view key) { KeyCode = KeyCodeOf(key); }
