#pragma once

#include <cstdint>

// The four conversion settings, as the settings file (tessaro.ini, "SETTING") and kifuconv's
// options give them: each the index of the item chosen in one drop-down of the settings window,
// from 0 (-1 for none). A value passed and copied whole.
struct TConversionSettings {
    // 0: an SGF source becomes a UGF file; any other value: nothing is written.
    std::int32_t SGFConv = 0;
    // 0: a UGF source becomes an SGF file; any other value: nothing is written.
    std::int32_t UGFConv = 0;
    // Stored and edited, read by no conversion.
    std::int32_t SSGFApli = 0;
    // The SGF written for an application, 0 to 3.
    std::int32_t USGFApli = 0;

    friend bool operator==(const TConversionSettings&, const TConversionSettings&) = default;
};
