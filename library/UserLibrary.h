#pragma once
// The loop library every window and command of one program uses: opened once for the user's data
// folder ($XDG_DATA_HOME/Brenvik, or the folder a test's Files gives), so that a library that
// cannot be used is reported once however many windows meet it.
#include "LoopLibrary.h"

namespace brenvik {
class Files;
}

namespace brenvik::library {

// The library in `files`' user data folder; the same object for every call with that folder.
// Only for the program's main thread.
LoopLibrary& userLibrary(const Files& files);

}  // namespace brenvik::library
