#include "TrackFile.h"

#include "Checked.h"
#include "LoopLayout.h"

namespace brenvik::loop {

wave::Header trackHeader(int32_t audioLength) {
    return wave::canonicalHeader(1, checkedAdd<int32_t>(kPreBufferBytes, audioLength));
}

std::string trackFileName(int track) { return "track" + std::to_string(track) + ".wav"; }

}  // namespace brenvik::loop
