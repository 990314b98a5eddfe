#pragma once
// What a conversion did to the level, on standard error: the NaN and infinite samples read as 0,
// the samples clipped (with how far --fit or --gain would lower the level), and a gain applied.
#include "ConsoleInteraction.h"
#include "Messages.h"

namespace brenvik::cli::media {

// `Level`: a conversion's result, or an import's, which carries the same counts.
template <typename Level>
void reportLevel(const Level& result, ConsoleInteraction& ui) {
    if (result.nonFinite > 0) ui.message(message::nonFiniteZeroed(result.nonFinite));
    if (result.gainDb < 0) ui.message(message::loweredBy(-result.gainDb));
    if (result.clipped > 0)
        ui.message(message::clippedSamples(result.clipped, result.peakDb), MessageButtons::Ok, MessageIcon::None,
                   message::fitAdvice(result.excessDb));
}

}  // namespace brenvik::cli::media
