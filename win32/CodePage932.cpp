#include "win32/CodePage932.h"

#include "win32/Windows.h"

#include <array>
#include <climits>

namespace {

constexpr UINT CODE_PAGE = 932;
constexpr wchar_t REPLACEMENT = 0xFFFD;

bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The one UTF-16 unit that count bytes make, or U+FFFD.
wchar_t Decode(const char* bytes, int count) {
    wchar_t wide[2];
    const int length = MultiByteToWideChar(CODE_PAGE, MB_ERR_INVALID_CHARS, bytes, count, wide, 2);
    return length == 1 ? wide[0] : REPLACEMENT;
}

// The code page's characters by their bytes, read from the system once: a record of tens of
// megabytes is then decoded by table lookups, not by a system call a character.
struct TTable {
    std::array<bool, 256> lead{};
    std::array<wchar_t, 256> single{};
    std::array<std::array<wchar_t, 256>, 256> pair{};

    TTable() {
        CPINFO info{};
        GetCPInfo(CODE_PAGE, &info);
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
            for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) {
                lead[static_cast<std::size_t>(b)] = true;
            }
        }
        for (std::size_t b = 0; b < 256; ++b) {
            if (!lead[b]) {
                const char bytes[1] = {static_cast<char>(b)};
                single[b] = b == 0 ? L'\0' : Decode(bytes, 1);
                continue;
            }
            for (std::size_t t = 0; t < 256; ++t) {
                const char bytes[2] = {static_cast<char>(b), static_cast<char>(t)};
                pair[b][t] =
                    IsTrailByte(static_cast<unsigned char>(t)) ? Decode(bytes, 2) : REPLACEMENT;
            }
        }
    }
};

const TTable& Table() {
    static const TTable table;
    return table;
}

}  // namespace

std::wstring WideFromCodePage932(std::string_view bytes) {
    const TTable& table = Table();
    std::wstring wide;
    wide.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (!table.lead[b]) {
            wide.push_back(table.single[b]);
            continue;
        }
        // A lead byte before a byte that can be no trail byte stands alone, and that byte is read
        // for itself: a damaged character never swallows the line end after it.
        const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (i + 1 < bytes.size() && IsTrailByte(next)) {
            wide.push_back(table.pair[b][next]);
            ++i;
        } else {
            wide.push_back(REPLACEMENT);
        }
    }
    return wide;
}

std::string CodePage932FromWide(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX / 2) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CODE_PAGE, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                           nullptr, 0, "?", nullptr);
    std::string bytes(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(CODE_PAGE, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), length,
                        "?", nullptr);
    return bytes;
}

bool ToWideStrictly(std::string_view bytes, std::wstring& wide) {
    wide = WideFromCodePage932(bytes);
    return CodePage932FromWide(wide) == bytes;
}

bool FromWideStrictly(std::wstring_view wide, std::string& bytes) {
    bytes = CodePage932FromWide(wide);
    return WideFromCodePage932(bytes) == wide;
}
