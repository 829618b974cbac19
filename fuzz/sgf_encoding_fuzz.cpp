// The encoding of an SGF record and its turn into code page 932, on any bytes: the first byte picks
// a "CA" property or a UTF-16 byte-order mark put in front of the rest (or none). No crash, no
// hang, no sanitizer report; a Shift-JIS record comes back byte for byte, any other as code page
// 932 throughout, with at least as many "?" as characters replaced, and pure ASCII read as UTF-8
// unchanged.

#include "conversion/SgfEncoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

const char* const OPENINGS[] = {
    "",
    "(;CA[UTF-8]",
    "(;CA[Shift_JIS]",
    "(;CA[EUC-JP]",
    "(;CA[ISO-8859-1]",
    "(;CA[GB18030]",
    "(;CA[Big5]",
    "(;CA[EUC-KR]",
    "(;CA[ISO-2022-JP]",
    "(;CA[UTF-16]",
    "(;CA[x-unknown]",
    "(;C[CA[UTF-8]\\]]CA[",
    "\xFF\xFE",
    "\xFE\xFF",
};

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string record = OPENINGS[data[0] % std::size(OPENINGS)];
    record.append(reinterpret_cast<const char*>(data) + 1, size - 1);

    const TSgfEncoding encoding = SgfEncodingOf(record);
    const TShiftJisRecord result = SgfRecordAsShiftJis(record);
    Check(result.encoding.charset == encoding.charset && result.encoding.name == encoding.name);
    if (encoding.charset == TSgfCharset::ShiftJis) {
        Check(result.ok && result.bytes == record && result.replaced == 0);
        return 0;
    }
    if (!result.ok) {
        Check(result.bytes == record);
        return 0;
    }
    const std::string_view text = std::string_view(record).substr(0, record.find('\0'));
    Check(result.bytes.find('\0') == std::string::npos);
    Check(IsCodePage932(result.bytes));
    Check(static_cast<std::size_t>(std::count(result.bytes.begin(), result.bytes.end(), '?')) >=
          result.replaced);
    if (encoding.charset == TSgfCharset::Utf8 && IsAscii(text)) {
        Check(result.bytes == text && result.replaced == 0);
    }
    return 0;
}
