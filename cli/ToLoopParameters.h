#pragma once
// Sets the loop parameters of an opened wave in the window model the way a user would: moving
// the tempo bar, clicking ScrollBeats, choosing tracks among the enabled options, moving the
// pan and pitch bars.
#include <ostream>

#include "ToLoopOptions.h"
#include "Wav2Rep.h"

namespace brenvik::cli {

// False after telling err why the options do not fit this wave (bad usage).
bool applyLoopParameters(Wav2Rep& window, const ToLoopOptions& options, std::ostream& err);

}  // namespace brenvik::cli
