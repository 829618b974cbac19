#pragma once

#include <cstdint>
#include <string_view>

// Key codes: 1 to 19 the UGF header keys, 21 to 35 the SGF property names, 20 anything else.
namespace keys {
inline constexpr std::uint8_t VER = 1, LANG = 2, CRYPT = 3, TITLE = 4, PLACE = 5, DATE = 6,
                              SIZE = 7, HDCP = 8, PTIME = 9, RULE = 10, WINNER = 11, MOVES = 12,
                              BMEMB1 = 13, WMEMB1 = 14, BMEMB2 = 15, WMEMB2 = 16, WRITER = 17,
                              COPYRIGHT = 18, COMMENT = 19;
inline constexpr std::uint8_t OTHER = 20;
inline constexpr std::uint8_t SZ = 21, PB = 22, PW = 23, KM = 24, HA = 25, RU = 26, RE = 27,
                              DT = 28, AP = 29, BR = 30, WR = 31, PC = 32, EV = 33, CP = 34,
                              US = 35;
}  // namespace keys

// The key code of key, compared byte for byte with letter case; 20 for any other text.
std::uint8_t KeyCodeOf(std::string_view key);
