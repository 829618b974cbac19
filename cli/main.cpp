#include "cli/Kifuconv.h"
#include "cli/Memory.h"

#include <string>
#include <vector>

#if defined(_WIN32)

#include "cli/Console.h"
#include "cli/Options.h"

#include <optional>
#include <ostream>
#include <windows.h>

// Windows: the arguments come from the wide command line as code page 932, whatever the system's
// code page, and the report goes out through TWindowsOutput.
int wmain(int argc, wchar_t** argv) {
    KeepFreedMemory();
    const std::vector<std::string> arguments = CodePage932Arguments(argc, argv);
    // Every text kifuconv writes is code page 932 here, but for its usage text, which is UTF-8.
    std::string error;
    const std::optional<TOptions> options = ParseOptions(arguments, error);
    const unsigned outCodePage = options && options->help ? UTF8_CODE_PAGE : KIFUCONV_CODE_PAGE;
    TWindowsOutput outBuffer(GetStdHandle(STD_OUTPUT_HANDLE), outCodePage);
    TWindowsOutput errBuffer(GetStdHandle(STD_ERROR_HANDLE), KIFUCONV_CODE_PAGE);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    const int status = RunKifuconv(arguments, out, err, errBuffer.IsConsole());
    err.flush();
    return status;
}

#else

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    KeepFreedMemory();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunKifuconv(arguments, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}

#endif
