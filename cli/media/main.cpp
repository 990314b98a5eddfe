#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "MediaCommands.h"

#ifdef BRENVIK_COVERAGE
extern "C" void __gcov_dump();  // the counts a --coverage build keeps, written on demand
#endif

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status =
        brenvik::cli::media::run(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0);
    // Qt Multimedia closes its sound-server connection in a static destructor while the sound
    // server library's own thread may still be dispatching on it, which now and then aborts the
    // program after everything was played. Every command has closed its files and its audio by
    // now: the output is flushed and the process ends here, before those destructors run.
    std::cout.flush();
    std::cerr.flush();
#ifdef BRENVIK_COVERAGE
    __gcov_dump();  // _Exit skips the exit handlers that would write them
#endif
    std::_Exit(status);
}
