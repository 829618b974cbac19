#include "cli/Console.h"

#include "conversion/Text.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

#if defined(_WIN32)
#include "win32/Windows.h"
#endif

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
#if defined(_WIN32)
        result += piece.bytes;
#else
        result += piece.isName ? piece.bytes : ShiftJisToUtf8(piece.bytes);
#endif
    }
    return Printable(result);
}

#if defined(_WIN32)

namespace {

// The longest text kept before it is written, whether or not it was flushed.
constexpr std::size_t PENDING_LIMIT = 1 << 16;

constexpr std::string_view CLEAR_TO_LINE_END = "\x1b[K";

std::wstring Widen(std::string_view text, unsigned codePage) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

// wide in code page 932; a character it lacks becomes "?", never a look-alike.
std::string ToCodePage932(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(KIFUCONV_CODE_PAGE, WC_NO_BEST_FIT_CHARS, wide.data(),
                                           size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(length, 0)), '\0');
    WideCharToMultiByte(KIFUCONV_CODE_PAGE, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(),
                        length, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::vector<std::string> CodePage932Arguments(int argc, const wchar_t* const* argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(ToCodePage932(argv[i]));
    }
    return arguments;
}

std::size_t WholeCharacters(std::string_view text, unsigned codePage) {
    if (codePage == UTF8_CODE_PAGE) {
        // A lead byte among the last three whose character needs more bytes than are there.
        for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
            const unsigned char b = static_cast<unsigned char>(text[text.size() - back]);
            if ((b & 0xC0) == 0x80) {
                continue;
            }
            const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
            return length > back ? text.size() - back : text.size();
        }
        return text.size();
    }
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 == text.size()) {
            break;
        }
        i += CharLength(text, i);
    }
    return i;
}

std::string ForFile(std::string_view text, unsigned codePage) {
    const std::string bytes =
        codePage == KIFUCONV_CODE_PAGE ? std::string(text) : ToCodePage932(Widen(text, codePage));
    // No trail byte of code page 932 is a line feed.
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 32);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) {
            result += '\r';
        }
        result += bytes[i];
    }
    return result;
}

TWindowsOutput::TWindowsOutput(void* handle, unsigned codePage)
    : m_handle(handle), m_codePage(codePage) {
    DWORD mode = 0;
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        m_console = true;
        m_consoleCodePage = GetConsoleOutputCP();
        m_originalMode = mode;
        m_readsEscapes = (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
        if (!m_readsEscapes &&
            SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) {
            m_readsEscapes = m_modeChanged = true;
        }
    }
}

TWindowsOutput::~TWindowsOutput() {
    sync();
    if (m_modeChanged) {
        SetConsoleMode(m_handle, m_originalMode);
    }
}

TWindowsOutput::int_type TWindowsOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize TWindowsOutput::xsputn(const char* text, std::streamsize count) {
    m_pending.append(text, static_cast<std::size_t>(count));
    if (m_pending.size() >= PENDING_LIMIT && sync() != 0) {
        return 0;
    }
    return count;
}

int TWindowsOutput::sync() {
    const std::size_t whole = WholeCharacters(m_pending, m_codePage);
    const std::string_view text(m_pending.data(), whole);
    if (!m_failed && whole > 0) {
        m_failed = !(m_console ? WriteToConsole(text) : WriteBytes(ForFile(text, m_codePage)));
    }
    m_pending.erase(0, whole);
    return m_failed ? -1 : 0;
}

bool TWindowsOutput::WriteToConsole(std::string_view text) {
    while (!text.empty()) {
        std::size_t end = text.size();
        if (!m_readsEscapes) {
            end = std::min(end, text.find(CLEAR_TO_LINE_END));
        }
        const std::string_view piece = text.substr(0, end);
        if (m_consoleCodePage == m_codePage) {
            if (!WriteBytes(piece)) {
                return false;
            }
        } else {
            const std::wstring wide = Widen(piece, m_codePage);
            DWORD written = 0;
            for (std::size_t done = 0; done < wide.size(); done += written) {
                if (!WriteConsoleW(m_handle, wide.data() + done,
                                   static_cast<DWORD>(wide.size() - done), &written, nullptr) ||
                    written == 0) {
                    return false;
                }
            }
        }
        if (end == text.size()) {
            break;
        }
        ClearToLineEnd();
        text.remove_prefix(end + CLEAR_TO_LINE_END.size());
    }
    return true;
}

bool TWindowsOutput::WriteBytes(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        if (!WriteFile(m_handle, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

void TWindowsOutput::ClearToLineEnd() {
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (!GetConsoleScreenBufferInfo(m_handle, &screen)) {
        return;
    }
    const DWORD count = static_cast<DWORD>(screen.dwSize.X - screen.dwCursorPosition.X);
    DWORD done = 0;
    FillConsoleOutputCharacterW(m_handle, L' ', count, screen.dwCursorPosition, &done);
    FillConsoleOutputAttribute(m_handle, screen.wAttributes, count, screen.dwCursorPosition, &done);
}

#endif
