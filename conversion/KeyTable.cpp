#include "conversion/KeyTable.h"

#include <utility>

namespace {

using TKey = std::pair<std::string_view, std::uint8_t>;

// UGF header keys, then SGF property names in their short and long forms.
constexpr TKey KEY_TABLE[] = {
    {"Ver", keys::VER},         {"Lang", keys::LANG},      {"Crypt", keys::CRYPT},
    {"Title", keys::TITLE},     {"Place", keys::PLACE},    {"Date", keys::DATE},
    {"Size", keys::SIZE},       {"Hdcp", keys::HDCP},      {"Ptime", keys::PTIME},
    {"Rule", keys::RULE},       {"Winner", keys::WINNER},  {"Moves", keys::MOVES},
    {"BMemb1", keys::BMEMB1},   {"WMemb1", keys::WMEMB1},  {"BMemb2", keys::BMEMB2},
    {"WMemb2", keys::WMEMB2},   {"Writer", keys::WRITER},  {"Copyright", keys::COPYRIGHT},
    {"Comment", keys::COMMENT}, {"SZ", keys::SZ},          {"SiZe", keys::SZ},
    {"PB", keys::PB},           {"PlayerBlack", keys::PB}, {"PW", keys::PW},
    {"PlayerWhite", keys::PW},  {"KM", keys::KM},          {"KoMi", keys::KM},
    {"HA", keys::HA},           {"HAndicap", keys::HA},    {"RU", keys::RU},
    {"RE", keys::RE},           {"REsult", keys::RE},      {"DT", keys::DT},
    {"DaTe", keys::DT},         {"AP", keys::AP},          {"BR", keys::BR},
    {"BlackRank", keys::BR},    {"WR", keys::WR},          {"WhiteRank", keys::WR},
    {"PC", keys::PC},           {"EV", keys::EV},          {"EVent", keys::EV},
    {"CP", keys::CP},           {"US", keys::US},
};

constexpr std::size_t SHORTEST_KEY = 2;  // "SZ"
constexpr std::size_t LONGEST_KEY = 11;  // "PlayerBlack"

}  // namespace

std::uint8_t KeyCodeOf(std::string_view key) {
    // Most names a record holds ("B", "W", "C", "", a value's continuation) are no key at all.
    if (key.size() < SHORTEST_KEY || key.size() > LONGEST_KEY) {
        return keys::OTHER;
    }
    for (const auto& [name, code] : KEY_TABLE) {
        if (name == key) {
            return code;
        }
    }
    return keys::OTHER;
}
