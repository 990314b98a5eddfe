#include <unistd.h>

#include <iostream>

#include "MediaCommands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return brenvik::cli::media::run(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
}
