#include "cli/Console.h"

#include <cerrno>
#include <iconv.h>

std::string ShiftJisToUtf8(std::string_view text) {
    iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::string(text);
    }
    std::string result;
    char buffer[4096];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (converted == static_cast<std::size_t>(-1) && errno != E2BIG) {
            result += '?';  // an invalid or cut-off character: skip its first byte
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(converter);
    return result;
}

std::string Printable(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (static_cast<unsigned char>(c) < 32 || c == 127) {
            c = '?';
        }
    }
    return result;
}

std::string ForTerminal(const TUserText& text) {
    std::string result;
    for (const TUserText::TPiece& piece : text.Pieces()) {
        result += piece.isName ? piece.bytes : ShiftJisToUtf8(piece.bytes);
    }
    return Printable(result);
}
