#include "TrackFile.h"

#include "Checked.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"

namespace brenvik::loop {

wave::Header trackHeader(int32_t audioLength) {
    return wave::canonicalHeader(1, checkedAdd<int32_t>(kPreBufferBytes, audioLength));
}

std::string trackFileName(int track) { return "track" + std::to_string(track) + ".wav"; }

int trackOfFileName(std::string_view name) {
    for (int k = 1; k <= kTrackFiles; ++k)
        if (sameNameOnCard(name, trackFileName(k))) return k;
    return 0;
}

}  // namespace brenvik::loop
