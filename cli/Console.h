#pragma once

#include "conversion/UserText.h"

#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

// Shift-JIS text as UTF-8 for the terminal; a byte that is no Shift-JIS character becomes "?".
std::string ShiftJisToUtf8(std::string_view text);

// text with every control byte (below 32, and 127) shown as "?", so that nothing read from a record
// or a file name can steer the terminal.
std::string Printable(std::string_view text);

// The text for the terminal, with no control bytes. On Linux program text as UTF-8 and names as
// given on the command line; on Windows program text and names alike as they are, in code page
// 932, which TWindowsOutput makes into what the console shows.
std::string ForTerminal(const TUserText& text);

#if defined(_WIN32)

// The code page of every name and text kifuconv handles on Windows.
inline constexpr unsigned KIFUCONV_CODE_PAGE = 932;
inline constexpr unsigned UTF8_CODE_PAGE = 65001;

// The arguments after the program name in code page 932, read from the wide command line whatever
// the system's code page is. A character that code page 932 lacks becomes "?", which no Windows
// name holds, so such an argument names no file; no look-alike is put in (the yen sign never
// becomes "\").
std::vector<std::string> CodePage932Arguments(int argc, const wchar_t* const* argv);

// How many bytes from the start of text (code page 932 or UTF-8) make whole characters: a
// character cut off at the end waits for the rest.
std::size_t WholeCharacters(std::string_view text, unsigned codePage);

// text (code page 932 or UTF-8) as it goes into a file or a pipe: code page 932, as a Japanese
// Windows reads text, with CR LF line ends. A character that code page 932 lacks becomes "?".
std::string ForFile(std::string_view text, unsigned codePage);

// Standard output or standard error on Windows, for text in code page 932 or UTF-8. To a console in
// the text's code page the bytes go as they are; to a console in any other code page they go as
// wide characters, which every console shows whatever its code page; to a file or a pipe they go as
// ForFile. Erasing to the end of the line ("\x1b[K", the progress line) also works on a console
// that reads no escape sequences.
class TWindowsOutput : public std::streambuf {
public:
    // handle: a standard handle; codePage: that of the text written here.
    TWindowsOutput(void* handle, unsigned codePage);
    ~TWindowsOutput() override;
    TWindowsOutput(const TWindowsOutput&) = delete;
    TWindowsOutput& operator=(const TWindowsOutput&) = delete;

    bool IsConsole() const { return m_console; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool WriteToConsole(std::string_view text);
    bool WriteBytes(std::string_view bytes);
    void ClearToLineEnd();

    void* m_handle;
    unsigned m_codePage;
    bool m_console = false;
    unsigned m_consoleCodePage = 0;
    unsigned long m_originalMode = 0;
    bool m_modeChanged = false;
    bool m_readsEscapes = false;
    bool m_failed = false;
    std::string m_pending;
};

#endif
