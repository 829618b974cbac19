#include <iconv.h>

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <windows.h>

namespace {

constexpr UINT CP_EUC_JP = 20932;

// Bytes of the character a byte starts: 1 or more, or 0 where no character can start.
using TLengths = std::uint8_t[256];

struct TConverter {
    UINT from = 0;
    UINT to = 0;
    TLengths lengths = {};
    // Bytes 0x00-0x7F stand for the same characters on both sides, so they are copied.
    bool asciiAsIs = false;
};

// The name in upper case without "-" and "_".
std::string Canonical(std::string_view name) {
    std::string key;
    for (const char c : name) {
        if (c == '-' || c == '_') {
            continue;
        }
        key += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return key;
}

// Code page nnn of "CPnnn" or "WINDOWSnnn", or 0.
UINT NumberedCodePage(std::string_view key) {
    for (const std::string_view prefix : {std::string_view("CP"), std::string_view("WINDOWS")}) {
        if (key.size() > prefix.size() && key.size() <= prefix.size() + 5 &&
            key.substr(0, prefix.size()) == prefix) {
            UINT page = 0;
            for (const char c : key.substr(prefix.size())) {
                if (c < '0' || c > '9') {
                    return 0;
                }
                page = page * 10 + static_cast<UINT>(c - '0');
            }
            return page;
        }
    }
    return 0;
}

// The code page a name stands for, or 0. Only stateless code pages of one or two bytes a character,
// and UTF-8, are taken: the conversion works a character at a time.
UINT CodePageOf(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    const std::string key = Canonical(name);
    static constexpr struct {
        std::string_view name;
        UINT page;
    } NAMES[] = {
        {"SHIFTJIS", 932},   {"SJIS", 932},        {"WINDOWS31J", 932}, {"MSKANJI", 932},
        {"UTF8", CP_UTF8},   {"EUCJP", CP_EUC_JP}, {"ASCII", 20127},    {"USASCII", 20127},
        {"ISO88591", 28591}, {"LATIN1", 28591},
    };
    UINT page = NumberedCodePage(key);
    for (const auto& entry : NAMES) {
        if (key == entry.name) {
            page = entry.page;
        }
    }
    if (page == CP_UTF8) {
        return page;
    }
    CPINFO info{};
    return page != 0 && GetCPInfo(page, &info) && info.MaxCharSize <= 2 ? page : 0;
}

void FillLengths(UINT page, TLengths& lengths) {
    if (page == CP_UTF8) {
        for (int b = 0; b < 256; ++b) {
            lengths[b] = b < 0x80   ? 1
                         : b < 0xC2 ? 0
                         : b < 0xE0 ? 2
                         : b < 0xF0 ? 3
                         : b < 0xF5 ? 4
                                    : 0;
        }
        return;
    }
    for (int b = 0; b < 256; ++b) {
        lengths[b] = 1;
    }
    CPINFO info{};
    GetCPInfo(page, &info);
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) {
            lengths[b] = 2;
        }
    }
    if (page == CP_EUC_JP) {
        lengths[0x8F] = 3;  // JIS X 0212, which the system's EUC-JP does not convert
    }
}

bool AsciiAsIs(UINT page) {
    if (page == CP_UTF8) {
        return true;
    }
    char bytes[128];
    wchar_t wide[128];
    for (int i = 0; i < 128; ++i) {
        bytes[i] = static_cast<char>(i);
    }
    if (MultiByteToWideChar(page, 0, bytes, 128, wide, 128) != 128) {
        return false;
    }
    for (int i = 0; i < 128; ++i) {
        if (wide[i] != static_cast<wchar_t>(i)) {
            return false;
        }
    }
    return true;
}

// The error for a character of length bytes of which only the first available ones are there:
// EINVAL when they can still begin one, EILSEQ when they cannot.
int CutOffError(const TConverter& converter, const char* in, std::size_t available) {
    if (converter.from == CP_UTF8) {
        for (std::size_t i = 1; i < available; ++i) {
            if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) {
                return EILSEQ;
            }
        }
    }
    return EINVAL;
}

// Converts the one character of length bytes at in into out; answers its byte count there, or 0
// when it is invalid or the target has no such character.
int ConvertCharacter(const TConverter& converter, const char* in, std::size_t length, char* out,
                     int room) {
    if (length > 2 && converter.from == CP_EUC_JP) {
        return 0;
    }
    wchar_t wide[2];
    const int wideLength = MultiByteToWideChar(converter.from, MB_ERR_INVALID_CHARS, in,
                                               static_cast<int>(length), wide, 2);
    if (wideLength <= 0) {
        return 0;
    }
    // No best fit: ¥ must not become "\", nor any character a look-alike.
    BOOL usedDefault = FALSE;
    const bool utf8 = converter.to == CP_UTF8;
    const int count =
        WideCharToMultiByte(converter.to, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, wideLength, out,
                            room, nullptr, utf8 ? nullptr : &usedDefault);
    return usedDefault ? 0 : count;
}

}  // namespace

extern "C" iconv_t iconv_open(const char* tocode, const char* fromcode) {
    const UINT to = CodePageOf(tocode);
    const UINT from = CodePageOf(fromcode);
    if (to == 0 || from == 0) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    // The C interface owns the converter from here to iconv_close.
    auto converter = std::make_unique<TConverter>();
    converter->from = from;
    converter->to = to;
    FillLengths(from, converter->lengths);
    converter->asciiAsIs = AsciiAsIs(from) && AsciiAsIs(to);
    return converter.release();
}

extern "C" size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf,
                        size_t* outbytesleft) {
    if (cd == nullptr || cd == reinterpret_cast<iconv_t>(-1)) {
        errno = EBADF;
        return static_cast<size_t>(-1);
    }
    if (inbuf == nullptr || *inbuf == nullptr) {
        return 0;
    }
    const TConverter& converter = *static_cast<const TConverter*>(cd);
    const char* in = *inbuf;
    std::size_t inLeft = *inbytesleft;
    char* out = *outbuf;
    std::size_t outLeft = *outbytesleft;
    int error = 0;
    while (inLeft > 0) {
        const unsigned char lead = static_cast<unsigned char>(*in);
        if (lead < 0x80 && converter.asciiAsIs) {
            if (outLeft == 0) {
                error = E2BIG;
                break;
            }
            *out++ = *in++;
            --inLeft;
            --outLeft;
            continue;
        }
        const std::size_t length = converter.lengths[lead];
        if (length == 0) {
            error = EILSEQ;
            break;
        }
        if (length > inLeft) {
            error = CutOffError(converter, in, inLeft);
            break;
        }
        char bytes[8];
        const int count = ConvertCharacter(converter, in, length, bytes, sizeof bytes);
        if (count <= 0) {
            error = EILSEQ;
            break;
        }
        if (static_cast<std::size_t>(count) > outLeft) {
            error = E2BIG;
            break;
        }
        std::memcpy(out, bytes, static_cast<std::size_t>(count));
        out += count;
        outLeft -= static_cast<std::size_t>(count);
        in += length;
        inLeft -= length;
    }
    *inbuf = const_cast<char*>(in);
    *inbytesleft = inLeft;
    *outbuf = out;
    *outbytesleft = outLeft;
    if (error != 0) {
        errno = error;
        return static_cast<size_t>(-1);
    }
    return 0;
}

extern "C" int iconv_close(iconv_t cd) {
    if (cd == nullptr || cd == reinterpret_cast<iconv_t>(-1)) {
        errno = EBADF;
        return -1;
    }
    const std::unique_ptr<TConverter> converter(static_cast<TConverter*>(cd));
    return 0;
}
