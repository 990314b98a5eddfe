#include <signal.h>
#include <unistd.h>

#include <iostream>

#include "Cli.h"

int main(int argc, char** argv) {
    // A file-size limit then fails the write that passes it, which the command tells as any
    // other failure, instead of ending the program without a word.
    ::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return brenvik::cli::run(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
}
