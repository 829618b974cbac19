#include "cli/Kifuconv.h"
#include "cli/Memory.h"

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    KeepFreedMemory();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return RunKifuconv(arguments, std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
}
