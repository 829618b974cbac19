#pragma once

#include "conversion/ConversionSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What kifuconv was asked to do.
struct TOptions {
    // --app (USGFApli), --sgf-conv (SGFConv), --ugf-conv (UGFConv).
    TConversionSettings settings;
    bool quiet = false;
    bool check = false;  // --check: compare the games, write nothing
    bool help = false;
    bool version = false;
    std::vector<std::string> files;
};

// The options of the arguments after the program name, or nothing with error set to what is
// wrong. Options stand anywhere before "--", after which every argument is a file; "--app=N"
// equals "--app N"; N is an optional sign and decimal digits fitting a signed 32-bit integer.
std::optional<TOptions> ParseOptions(const std::vector<std::string>& arguments, std::string& error);

// A signed decimal integer fitting 32 bits: an optional "+" or "-", then digits only.
std::optional<std::int32_t> ParseInt32(const std::string& text);
