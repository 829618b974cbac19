#include "conversion/EastAsianText.h"

#include "conversion/Text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

// Each reading prices a text as the number of bits a model of its language would spend on the
// characters the reading makes of it: -log2 of how often the language uses each character. The
// readings spend the same on the ASCII bytes they all read as ASCII, so only the rest is counted.
// Prices are whole eighths of a bit, reckoned with integers only, so that every build and every
// system tells the same encoding from the same bytes.

namespace {

#include "conversion/EastAsianTextTables.inc"

using TCost = std::int64_t;

// The readings, in the order in which they are priced (and chosen between equals).
enum class TEastAsianReading { ShiftJis, EucJp, Gb18030, Big5, EucKr };

// How much cheaper than the Shift-JIS reading another one must be to win.
constexpr TCost EAST_ASIAN_MARGIN = 10 * 8;

constexpr int BIT = 8;
// In a table of pairs: two bytes that make no character of the encoding. The first byte is then
// a byte that starts none, priced as UNDEFINED.
constexpr std::uint8_t NOT_A_PAIR = 255;
// A code where no character stands, a user-defined one, or a byte that starts no character: as
// good as impossible in a record of that language.
constexpr std::uint8_t UNDEFINED = 26 * BIT;
// An ASCII byte taken as the second byte of a character: the readings that read it as ASCII
// pay for it as a character of its own, this one does not.
constexpr int ASCII_TAKEN = 5 * BIT;
// A "]" taken as the second byte of a character where the bytes after it go on as the
// structure of a record (";", "(", ")", or a property name and "["): the reading breaks the
// record, as a writer of that encoding would not.
constexpr int STRUCTURE_TAKEN = 12 * BIT;

// What a character of text in its own language costs at most on average, in eighths of a bit.
constexpr TCost PLAUSIBLE_CHARACTER = 16 * BIT;

// Fewer bytes above 0x7F than this are read as Shift-JIS whatever they are.
constexpr std::size_t MIN_HIGH_BYTES = 4;
// The readings stop when one is cheaper than every other by this much: what follows could hardly
// turn it round; they look at a long run of bytes above 0x7F a piece at a time for that. Nor do
// they read more than so many bytes above 0x7F: far more than any record needs to show its
// encoding.
constexpr TCost CLEAR_LEAD = 64 * BIT;
constexpr std::size_t RUN_PIECE = 4096;
constexpr std::size_t HIGH_BYTES_READ = 64 * 1024;

// Price bases of the lists: the character of rank r costs base + log2(r + 5) bits (a law of Zipf
// with a flattened head); a family name at the start of a player's name base + log2(r + 2).
constexpr int KANJI_BASE = 3 * BIT + BIT / 2;
constexpr int HANZI_BASE = 2 * BIT + BIT / 2;
constexpr int HANGUL_BASE = 2 * BIT + BIT / 2;
// Hanja: the characters of traditional Chinese by the same list, less often used in Korean text.
constexpr int HANJA_BASE = 6 * BIT;
constexpr int JAPANESE_SURNAME_BASE = 3 * BIT;  // the first two kanji together
constexpr int JAPANESE_INITIAL_BASE = 4 * BIT;
constexpr int CHINESE_SURNAME_BASE = 2 * BIT;
constexpr int KOREAN_SURNAME_BASE = 1 * BIT;

// Half-width katakana, read one byte a character by Shift-JIS: a run of them costs its start,
// then each by how common it is; a sound mark or small kana after a kana that cannot take it
// is a sign of bytes of another encoding.
constexpr int KANA_RUN = 10 * BIT;
constexpr int KANA_COMMON = 5 * BIT + BIT / 2;
constexpr int KANA_RARE = 7 * BIT + BIT / 2;
constexpr int KANA_MARK = 3 * BIT;
constexpr int KANA_WRONG = 16 * BIT;
constexpr int KANA_PUNCTUATION = 9 * BIT;

// What a player's name (a value of PB or PW of nothing but non-ASCII characters) costs by its
// length in characters (0 to 5 and more): Korean names are of three syllables, seldom two or
// four; Chinese names of two or three characters; Japanese ones of any length.
using TLengthCosts = std::array<int, 6>;
constexpr TLengthCosts NO_LENGTH_COSTS = {0, 0, 0, 0, 0, 0};
constexpr TLengthCosts JAPANESE_LENGTHS = {0, 3 * BIT, 0, 0, 0, 1 * BIT};
constexpr TLengthCosts CHINESE_LENGTHS = {0, 6 * BIT, BIT / 2, 0, 3 * BIT + BIT / 2, 6 * BIT};
constexpr TLengthCosts KOREAN_LENGTHS = {0, 8 * BIT, 3 * BIT, 0, 4 * BIT, 8 * BIT};

// The punctuation and signs that text of each language uses most, by their two-byte codes.
constexpr std::uint16_t JAPANESE_SIGNS[] = {
    0xA1A1, 0xA1A2, 0xA1A3, 0xA1A4, 0xA1A5, 0xA1A6, 0xA1A7, 0xA1A9, 0xA1AA, 0xA1B9, 0xA1BC, 0xA1BD,
    0xA1C1, 0xA1C4, 0xA1C8, 0xA1C9, 0xA1CA, 0xA1CB, 0xA1D6, 0xA1D7, 0xA1D8, 0xA1D9, 0xA1DA, 0xA1DB,
    0xA1DC, 0xA1DD, 0xA1DF, 0xA1F9, 0xA1FA, 0xA1FB, 0xA1FC, 0xA1FD, 0xA2A2, 0xA2A3, 0xA2A4, 0xA2A5};
constexpr std::uint16_t CHINESE_SIGNS[] = {0xA1A1, 0xA1A2, 0xA1A3, 0xA1A4, 0xA1AA, 0xA1AB, 0xA1AD,
                                           0xA1AE, 0xA1AF, 0xA1B0, 0xA1B1, 0xA1B6, 0xA1B7, 0xA1B8,
                                           0xA1B9, 0xA1BA, 0xA1BB, 0xA1BE, 0xA1BF, 0xA3A1, 0xA3A8,
                                           0xA3A9, 0xA3AC, 0xA3AE, 0xA3BA, 0xA3BB, 0xA3BF};
constexpr std::uint16_t BIG5_SIGNS[] = {0xA140, 0xA141, 0xA142, 0xA143, 0xA144, 0xA145, 0xA146,
                                        0xA147, 0xA148, 0xA149, 0xA14B, 0xA158, 0xA15D, 0xA15E,
                                        0xA16D, 0xA16E, 0xA171, 0xA172, 0xA175, 0xA176, 0xA179,
                                        0xA17A, 0xA1A5, 0xA1A6, 0xA1A7, 0xA1A8};
constexpr int COMMON_SIGN = 8 * BIT + BIT / 2;

// 8 × log2(n), rounded down, for n ≥ 1: the whole part from the highest bit, three bits of
// fraction by squaring.
int EighthsLog2(std::uint32_t n) {
    const int whole = std::bit_width(n) - 1;
    std::uint64_t m = (std::uint64_t{n} << 31) >> whole;  // 2^31 ≤ m < 2^32
    int fraction = 0;
    for (int bit = 0; bit < 3; ++bit) {
        m = (m * m) >> 31;
        fraction <<= 1;
        if (m >= (std::uint64_t{1} << 32)) {
            m >>= 1;
            fraction |= 1;
        }
    }
    return whole * BIT + fraction;
}

std::uint8_t RankCost(int base, std::size_t rank, int flattening) {
    return static_cast<std::uint8_t>(base + EighthsLog2(static_cast<std::uint32_t>(rank) +
                                                        static_cast<std::uint32_t>(flattening)));
}

using TPairs = std::array<std::uint8_t, 65536>;
// Family names, by the code of their first character (or, for Japanese, of their first two):
// sorted codes and the price of each.
using TSurnames = std::vector<std::pair<std::uint32_t, std::uint8_t>>;

struct TTables {
    std::array<TPairs, 5> pairs;
    std::array<TSurnames, 5> initials;
    TSurnames japaneseSurnames;
};

constexpr std::size_t Index(TEastAsianReading reading) { return static_cast<std::size_t>(reading); }

template <typename Code, std::size_t N>
void Rank(TPairs& pairs, const Code (&codes)[N], int base) {
    for (std::size_t i = 0; i < N; ++i) {
        std::uint8_t& cost = pairs[codes[i]];
        cost = std::min(cost, RankCost(base, i + 1, 5));
    }
}

template <typename Code, std::size_t N>
TSurnames Surnames(const Code (&codes)[N], int base) {
    TSurnames surnames;
    for (std::size_t i = 0; i < N; ++i) {
        surnames.emplace_back(codes[i], RankCost(base, i + 1, 2));
    }
    std::stable_sort(surnames.begin(), surnames.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return surnames;
}

template <std::size_t N>
void Signs(TPairs& pairs, const std::uint16_t (&codes)[N]) {
    for (const std::uint16_t code : codes) {
        pairs[code] = COMMON_SIGN;
    }
}

// The price of a character of JIS X 0208 by its row and cell (1 to 94), before the lists.
std::uint8_t JisCost(unsigned row, unsigned cell) {
    if (row == 1 || row == 2) {
        return 13 * BIT;
    }
    if (row == 3) {
        return 11 * BIT;
    }
    if (row == 4) {
        return cell <= 83 ? 7 * BIT + 6 : UNDEFINED;  // hiragana
    }
    if (row == 5) {
        return cell <= 86 ? 9 * BIT + 6 : UNDEFINED;  // katakana
    }
    if (row >= 6 && row <= 8) {
        return 18 * BIT;  // Greek, Cyrillic, box drawing
    }
    if (row == 13) {
        return 14 * BIT;  // the NEC signs: circled numbers, units
    }
    if (row >= 16 && row <= 47) {
        return row == 47 && cell > 51 ? UNDEFINED : 15 * BIT;  // first level kanji
    }
    if (row >= 48 && row <= 84) {
        return row == 84 && cell > 6 ? UNDEFINED : 17 * BIT + BIT / 2;  // second level kanji
    }
    if (row >= 89 && row <= 92) {
        return 18 * BIT;  // the IBM kanji of code page 932
    }
    return UNDEFINED;
}

// The EUC-JP code of the Shift-JIS character of lead (0x81-0x9F or 0xE0-0xEF) and trail.
std::uint16_t EucJpOfShiftJis(unsigned lead, unsigned trail) {
    unsigned row = (lead <= 0x9F ? lead - 0x81 : lead - 0xC1) * 2 + 1;
    unsigned cell = 0;
    if (trail >= 0x9F) {
        ++row;
        cell = trail - 0x9E;
    } else {
        cell = trail - (trail < 0x7F ? 0x3F : 0x40);
    }
    return static_cast<std::uint16_t>((row + 0xA0) << 8 | (cell + 0xA0));
}

bool IsShiftJisTrail(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

void FillEucJp(TPairs& pairs) {
    for (unsigned lead = 0xA1; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) {
            pairs[lead << 8 | trail] = JisCost(lead - 0xA0, trail - 0xA0);
        }
    }
    Signs(pairs, JAPANESE_SIGNS);
    Rank(pairs, JAPANESE_KANJI, KANJI_BASE);
}

void FillShiftJis(TPairs& pairs, const TPairs& eucJp) {
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsShiftJisTrail(trail)) {
                continue;
            }
            const unsigned code = lead << 8 | trail;
            if (lead <= 0xEF) {
                pairs[code] = eucJp[EucJpOfShiftJis(lead, trail)];
            } else if (lead <= 0xF9) {
                pairs[code] = UNDEFINED;  // user-defined
            } else {
                pairs[code] = code <= 0xFC4B ? 18 * BIT : UNDEFINED;  // the IBM kanji
            }
        }
    }
}

void FillGb18030(TPairs& pairs) {
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            std::uint8_t cost = 21 * BIT;  // the characters GBK adds
            if (lead >= 0xA1 && lead <= 0xF7 && trail >= 0xA1) {
                const unsigned row = lead - 0xA0;
                cost = row <= 2 || row == 3   ? 13 * BIT
                       : row == 4 || row == 5 ? 18 * BIT  // kana
                       : row <= 9             ? 17 * BIT
                       : row <= 15            ? UNDEFINED
                       : row <= 55            ? 16 * BIT + BIT / 2
                                              : 19 * BIT + BIT / 2;
                if (row == 3) {
                    cost = 11 * BIT;  // full-width ASCII
                }
            } else if ((lead >= 0xF8 && trail >= 0xA1) ||
                       (lead >= 0xA1 && lead <= 0xA7 && trail < 0xA1)) {
                cost = UNDEFINED;  // user-defined
            }
            pairs[lead << 8 | trail] = cost;
        }
    }
    Signs(pairs, CHINESE_SIGNS);
    Rank(pairs, SIMPLIFIED_CHINESE, HANZI_BASE);
}

void FillBig5(TPairs& pairs) {
    for (unsigned lead = 0xA1; lead <= 0xF9; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail > 0x7E && trail < 0xA1) {
                continue;
            }
            const unsigned code = lead << 8 | trail;
            pairs[code] = code <= 0xA3BF   ? 13 * BIT            // signs
                          : code < 0xA440  ? UNDEFINED           // none
                          : code <= 0xC67E ? 16 * BIT + BIT / 2  // frequent characters
                          : code < 0xC940  ? 22 * BIT
                          : code <= 0xF9D5 ? 19 * BIT  // less frequent characters
                                           : 22 * BIT;
        }
    }
    Signs(pairs, BIG5_SIGNS);
    Rank(pairs, TRADITIONAL_CHINESE, HANZI_BASE);
}

bool IsUhcTrail(unsigned b) {
    return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A) || (b >= 0x81 && b <= 0xFE);
}

void FillEucKr(TPairs& pairs) {
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x41; trail <= 0xFE; ++trail) {
            const unsigned code = lead << 8 | trail;
            if (lead >= 0xA1 && trail >= 0xA1) {
                const unsigned row = lead - 0xA0;
                pairs[code] = row >= 16 && row <= 40   ? 14 * BIT  // hangul
                              : row >= 42 && row <= 93 ? 17 * BIT  // hanja
                              : row == 1               ? 9 * BIT
                              : row == 3               ? 11 * BIT
                              : row == 2 || row == 4   ? 13 * BIT
                              : row == 10 || row == 11 ? 18 * BIT  // kana
                              : row <= 12              ? 16 * BIT
                                                       : UNDEFINED;
            } else if (lead <= 0xC6 && IsUhcTrail(trail)) {
                pairs[code] = 19 * BIT;  // the syllables only Unified Hangul Code has
            }
        }
    }
    Rank(pairs, KOREAN, HANGUL_BASE);
    Rank(pairs, KOREAN_HANJA, HANJA_BASE);
}

const TTables& Tables() {
    static const std::unique_ptr<TTables> tables = [] {
        auto made = std::make_unique<TTables>();
        for (TPairs& pairs : made->pairs) {
            pairs.fill(NOT_A_PAIR);
        }
        using R = TEastAsianReading;
        FillEucJp(made->pairs[Index(R::EucJp)]);
        FillShiftJis(made->pairs[Index(R::ShiftJis)], made->pairs[Index(R::EucJp)]);
        FillGb18030(made->pairs[Index(R::Gb18030)]);
        FillBig5(made->pairs[Index(R::Big5)]);
        FillEucKr(made->pairs[Index(R::EucKr)]);
        made->initials[Index(R::ShiftJis)] =
            Surnames(JAPANESE_SURNAME_INITIALS, JAPANESE_INITIAL_BASE);
        made->initials[Index(R::EucJp)] = made->initials[Index(R::ShiftJis)];
        made->initials[Index(R::Gb18030)] =
            Surnames(SIMPLIFIED_CHINESE_SURNAMES, CHINESE_SURNAME_BASE);
        made->initials[Index(R::Big5)] =
            Surnames(TRADITIONAL_CHINESE_SURNAMES, CHINESE_SURNAME_BASE);
        made->initials[Index(R::EucKr)] = Surnames(KOREAN_SURNAMES, KOREAN_SURNAME_BASE);
        made->japaneseSurnames = Surnames(JAPANESE_SURNAMES, JAPANESE_SURNAME_BASE);
        return made;
    }();
    return *tables;
}

// The price of code in surnames, or none.
std::optional<int> SurnameCost(const TSurnames& surnames, std::uint32_t code) {
    const auto found = std::lower_bound(surnames.begin(), surnames.end(), code,
                                        [](const std::pair<std::uint32_t, std::uint8_t>& entry,
                                           std::uint32_t key) { return entry.first < key; });
    if (found == surnames.end() || found->first != code) {
        return std::nullopt;
    }
    return found->second;
}

// The price of a half-width katakana (0xA1-0xDF) after prev, the one before it in the same run,
// or 0 at the run's start.
int KanaCost(unsigned kana, unsigned prev) {
    const int start = prev == 0 ? KANA_RUN : 0;
    const auto within = [](unsigned b, unsigned low, unsigned high) {
        return b >= low && b <= high;
    };
    if (kana == 0xDE) {  // voiced sound mark: after ｳ, ｶ-ﾄ, ﾊ-ﾎ
        const bool fits = prev == 0xB3 || within(prev, 0xB6, 0xC4) || within(prev, 0xCA, 0xCE);
        return start + (fits ? KANA_MARK : KANA_WRONG);
    }
    if (kana == 0xDF) {  // semi-voiced sound mark: after ﾊ-ﾎ
        return start + (within(prev, 0xCA, 0xCE) ? KANA_MARK : KANA_WRONG);
    }
    if (within(kana, 0xAC, 0xAE)) {  // small ｬ, ｭ, ｮ: after the kana of the i row
        const bool fits = prev == 0xB7 || prev == 0xBC || prev == 0xC1 || prev == 0xC6 ||
                          prev == 0xCB || prev == 0xD0 || prev == 0xD8;
        return start + (fits ? KANA_COMMON : KANA_WRONG);
    }
    if (within(kana, 0xA7, 0xAB)) {  // small vowels: after ﾌ, ｳ, ﾃ, ｼ, ﾁ or a sound mark
        const bool fits = prev == 0xCC || prev == 0xB3 || prev == 0xC3 || prev == 0xBC ||
                          prev == 0xC1 || prev == 0xDE;
        return start + (fits ? KANA_RARE : KANA_WRONG);
    }
    if (kana == 0xAF || kana == 0xB0) {  // small ｯ and the long sound mark: never first
        return start + (prev != 0 ? KANA_COMMON : KANA_WRONG);
    }
    if (kana == 0xDD && prev == 0) {  // ﾝ begins no word
        return start + KANA_WRONG;
    }
    if (kana <= 0xA6) {
        return start + KANA_PUNCTUATION;
    }
    const bool common =
        within(kana, 0xB1, 0xC6) || within(kana, 0xC9, 0xD0) || within(kana, 0xD3, 0xDD);
    return start + (common ? KANA_COMMON : KANA_RARE);
}

// True when the bytes of text from at on go on as the structure of a record: ";", "(", ")", or
// one or two capital letters and "[".
bool StructureAt(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return false;
    }
    const char c = text[at];
    if (c == ';' || c == '(' || c == ')') {
        return true;
    }
    const auto capital = [&](std::size_t k) {
        return k < text.size() && text[k] >= 'A' && text[k] <= 'Z';
    };
    if (!capital(at)) {
        return false;
    }
    const std::size_t next = capital(at + 1) ? at + 2 : at + 1;
    return next < text.size() && text[next] == '[';
}

// Where the value of each PB and PW property begins, in order, found as far as the readings go.
class TNameStarts {
public:
    explicit TNameStarts(std::string_view text) : m_text(text) {}

    // Finds the starts up to end (those of names whose "[" stands before end).
    void FindTo(std::size_t end) {
        end = std::min(end, m_text.size());
        const std::string_view part = m_text.substr(0, end);
        for (std::size_t at = part.find('[', m_found); at != std::string_view::npos;
             at = part.find('[', at + 1)) {
            if (at >= 2 && part[at - 2] == 'P' && (part[at - 1] == 'B' || part[at - 1] == 'W')) {
                starts.push_back(at + 1);
            }
        }
        m_found = std::max(m_found, end);
    }

    std::vector<std::size_t> starts;

private:
    std::string_view m_text;
    std::size_t m_found = 0;
};

// One reading of a text, priced.
class TReading {
public:
    TReading(std::string_view text, const std::vector<std::size_t>& starts,
             TEastAsianReading reading)
        : m_text(text),
          m_bytes(reinterpret_cast<const unsigned char*>(text.data())),
          m_starts(starts),
          m_reading(reading),
          m_tables(Tables()),
          m_pairs(m_tables.pairs[Index(reading)]),
          m_lengths(reading == TEastAsianReading::EucKr     ? KOREAN_LENGTHS
                    : reading == TEastAsianReading::Gb18030 ? CHINESE_LENGTHS
                    : reading == TEastAsianReading::Big5    ? CHINESE_LENGTHS
                    : reading == TEastAsianReading::EucJp   ? JAPANESE_LENGTHS
                                                            : NO_LENGTH_COSTS) {}

    // Reads the ASCII bytes from where it stands up to begin (the next byte above 0x7F), then
    // the characters from there on that begin before end.
    void ReadRun(std::size_t begin, std::size_t end) {
        ReadAsciiTo(begin);
        while (m_at < end) {
            NoteNameStart(m_at);
            if (m_bytes[m_at] < 0x80) {
                ReadAsciiTo(m_at + 1);
            } else {
                m_at += Character(m_at);
                ++m_characters;
            }
        }
    }

    // Reads the ASCII bytes from where it stands up to end, which holds none above 0x7F.
    void ReadAsciiTo(std::size_t end) {
        m_kana = m_at < end ? 0 : m_kana;
        while (m_at < end) {
            NoteNameStart(m_at);
            if (m_inName) {
                EndNameAt(m_bytes[m_at]);
                ++m_at;
            } else {
                // Only the start of a name needs a look at the bytes between.
                m_at = m_next < m_starts.size()
                           ? std::min(end, std::max(m_at + 1, m_starts[m_next]))
                           : end;
            }
        }
    }

    TCost Cost() const { return m_cost; }

    // True when the reading took a syllable that only Unified Hangul Code has.
    bool Uhc() const { return m_uhc; }

    // The characters above ASCII the reading made of the text.
    std::size_t Characters() const { return m_characters; }

private:
    unsigned At(std::size_t i) const { return i < m_text.size() ? m_bytes[i] : 0u; }

    void NoteNameStart(std::size_t i) {
        // A value that begins inside a character of this reading begins no name in it.
        while (m_next < m_starts.size() && m_starts[m_next] < i) {
            ++m_next;
        }
        if (m_next < m_starts.size() && m_starts[m_next] == i) {
            ++m_next;
            m_inName = true;
            m_nameChars = 0;
            m_pureName = true;
        }
    }

    void EndNameAt(unsigned ascii) {
        if (ascii != ']') {
            m_pureName = false;
            return;
        }
        if (m_pureName && m_nameChars > 0) {
            m_cost += m_lengths[std::min<std::size_t>(m_nameChars, m_lengths.size() - 1)];
        }
        m_inName = false;
    }

    // Prices the character at i (its first byte above 0x7F); answers its length in bytes.
    std::size_t Character(std::size_t i) {
        using R = TEastAsianReading;
        const unsigned lead = m_bytes[i];
        const unsigned trail = At(i + 1);
        const bool nameStart = m_inName && m_nameChars == 0 && m_pureName;
        if (m_reading == R::ShiftJis && lead >= 0xA1 && lead <= 0xDF) {
            m_cost += KanaCost(lead, m_kana);
            m_kana = lead;
            CountNameCharacter();
            return 1;
        }
        m_kana = 0;
        if (nameStart && (m_reading == R::ShiftJis || m_reading == R::EucJp)) {
            if (const std::optional<int> cost = JapaneseSurname(i)) {
                m_cost += *cost;
                CountNameCharacter();
                CountNameCharacter();
                return 4;
            }
        }
        if (m_reading == R::EucJp && lead == 0x8E && trail >= 0xA1 && trail <= 0xDF) {
            m_cost += 12 * BIT;  // half-width katakana
            CountNameCharacter();
            return 2;
        }
        if (m_reading == R::EucJp && lead == 0x8F && trail >= 0xA1 && trail <= 0xFE &&
            At(i + 2) >= 0xA1 && At(i + 2) <= 0xFE) {
            m_cost += 20 * BIT;  // JIS X 0212
            CountNameCharacter();
            return 3;
        }
        if (m_reading == R::Gb18030 && trail >= 0x30 && trail <= 0x39 && At(i + 2) >= 0x81 &&
            At(i + 2) <= 0xFE && At(i + 3) >= 0x30 && At(i + 3) <= 0x39 && lead >= 0x81 &&
            lead <= 0xFE) {
            m_cost += 23 * BIT - 2 * ASCII_TAKEN;  // four bytes, two of them digits
            CountNameCharacter();
            return 4;
        }
        const unsigned code = lead << 8 | trail;
        const std::uint8_t price = i + 1 < m_text.size() ? m_pairs[code] : NOT_A_PAIR;
        if (price == NOT_A_PAIR) {
            m_cost += UNDEFINED;
            CountNameCharacter();
            return 1;
        }
        int cost = price;
        if (nameStart) {
            const std::uint32_t key =
                m_reading == R::ShiftJis && lead <= 0xEF ? EucJpOfShiftJis(lead, trail) : code;
            if (const std::optional<int> surname =
                    SurnameCost(m_tables.initials[Index(m_reading)], key)) {
                cost = std::min(cost, *surname);
            }
        }
        if (trail < 0x80) {
            cost -= ASCII_TAKEN;
            if (trail == ']' && StructureAt(m_text, i + 2)) {
                cost += STRUCTURE_TAKEN;
            }
        }
        if (m_reading == R::EucKr && (lead < 0xA1 || trail < 0xA1)) {
            m_uhc = true;
        }
        m_cost += cost;
        CountNameCharacter();
        return 2;
    }

    void CountNameCharacter() {
        if (m_inName) {
            ++m_nameChars;
        }
    }

    // The price of a Japanese family name whose first two kanji begin at i, or none.
    std::optional<int> JapaneseSurname(std::size_t i) const {
        if (i + 4 > m_text.size()) {
            return std::nullopt;
        }
        std::uint32_t first = m_bytes[i] << 8 | m_bytes[i + 1];
        std::uint32_t second = m_bytes[i + 2] << 8 | m_bytes[i + 3];
        if (m_reading == TEastAsianReading::ShiftJis) {
            const auto kanji = [](std::uint32_t code) {
                const unsigned lead = code >> 8;
                const unsigned trail = code & 0xFF;
                return lead >= 0x81 && lead <= 0xEF &&
                       IsLeadByte(static_cast<unsigned char>(lead)) && IsShiftJisTrail(trail);
            };
            if (!kanji(first) || !kanji(second)) {
                return std::nullopt;
            }
            first = EucJpOfShiftJis(first >> 8, first & 0xFF);
            second = EucJpOfShiftJis(second >> 8, second & 0xFF);
        }
        return SurnameCost(m_tables.japaneseSurnames, first << 16 | second);
    }

    std::string_view m_text;
    const unsigned char* m_bytes;
    const std::vector<std::size_t>& m_starts;
    TEastAsianReading m_reading;
    const TTables& m_tables;
    const TPairs& m_pairs;
    const TLengthCosts& m_lengths;
    TCost m_cost = 0;
    std::size_t m_at = 0;    // the first byte not read
    std::size_t m_next = 0;  // the next name start not passed
    bool m_inName = false;
    bool m_pureName = true;
    std::size_t m_nameChars = 0;
    unsigned m_kana = 0;  // the half-width katakana just read, 0 after anything else
    bool m_uhc = false;
    std::size_t m_characters = 0;
};

// The first byte above 0x7F of text from at on, or its size; eight bytes at a time.
std::size_t NextHighByte(std::string_view text, std::size_t at) {
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) {
            break;
        }
    }
    while (at < text.size() && static_cast<unsigned char>(text[at]) < 0x80) {
        ++at;
    }
    return at;
}

// The cheapest reading; the first of equals, Shift-JIS before all.
std::size_t Cheapest(const std::array<TReading, 5>& readings) {
    std::size_t best = 0;
    for (std::size_t r = 1; r < readings.size(); ++r) {
        if (readings[r].Cost() < readings[best].Cost()) {
            best = r;
        }
    }
    return best;
}

// True when best is cheaper than every other reading by so much that the rest of the text would
// not change the outcome.
bool Leads(const std::array<TReading, 5>& readings, std::size_t best) {
    for (std::size_t r = 0; r < readings.size(); ++r) {
        if (r != best && readings[r].Cost() - readings[best].Cost() < CLEAR_LEAD) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> TellEastAsianEncoding(std::string_view text) {
    using R = TEastAsianReading;
    TNameStarts names(text);
    const std::vector<std::size_t>& starts = names.starts;
    std::array<TReading, 5> readings = {
        TReading(text, starts, R::ShiftJis), TReading(text, starts, R::EucJp),
        TReading(text, starts, R::Gb18030), TReading(text, starts, R::Big5),
        TReading(text, starts, R::EucKr)};
    // The readings go on together from one run of bytes above 0x7F to the next, until one leads
    // the others clearly or the text ends.
    std::size_t highBytes = 0;
    std::size_t budget = HIGH_BYTES_READ;
    std::size_t best = 0;
    for (std::size_t at = 0;;) {
        const std::size_t begin = NextHighByte(text, at);
        if (begin == text.size()) {
            // No name found past here can cost anything: it has no byte above 0x7F. Only a name
            // already open may still end, so the rest is not searched for names.
            for (TReading& reading : readings) {
                reading.ReadAsciiTo(text.size());
            }
            best = Cheapest(readings);
            break;
        }
        // A long run goes a piece at a time, so that the readings can stop inside it.
        std::size_t end = begin;
        const std::size_t last = std::min(text.size(), begin + std::min(budget, RUN_PIECE));
        while (end < last && static_cast<unsigned char>(text[end]) >= 0x80) {
            ++end;
        }
        highBytes += end - begin;
        budget -= end - begin;
        // A reading may take up to three bytes past the run.
        names.FindTo(end + 4);
        for (TReading& reading : readings) {
            reading.ReadRun(begin, end);
        }
        best = Cheapest(readings);
        if (Leads(readings, best) || budget == 0) {
            break;
        }
        at = end;
    }
    // One character of two bytes proves nothing. Another reading than Shift-JIS must be clearly
    // the cheaper, and read like text of its language, not like bytes that no encoding reads well.
    const TReading& winner = readings[best];
    if (best == Index(R::ShiftJis) || highBytes < MIN_HIGH_BYTES ||
        readings[Index(R::ShiftJis)].Cost() - winner.Cost() < EAST_ASIAN_MARGIN ||
        winner.Cost() > PLAUSIBLE_CHARACTER * static_cast<TCost>(winner.Characters())) {
        return std::nullopt;
    }
    switch (static_cast<R>(best)) {
        case R::EucJp:
            return "EUC-JP";
        case R::Gb18030:
            return "GB18030";
        case R::Big5:
            return "Big5";
        case R::EucKr:
            return winner.Uhc() ? "CP949" : "EUC-KR";
        case R::ShiftJis:
            break;
    }
    return std::nullopt;
}
