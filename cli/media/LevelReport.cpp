#include "LevelReport.h"

#include "Messages.h"

namespace brenvik::cli::media {

void reportLevel(const ConversionResult& result, ConsoleInteraction& ui) {
    if (result.nonFinite > 0) ui.message(message::nonFiniteZeroed(result.nonFinite));
    if (result.gainDb < 0) ui.message(message::loweredBy(-result.gainDb));
    if (result.clipped > 0)
        ui.message(message::clippedSamples(result.clipped, result.peakDb), MessageButtons::Ok, MessageIcon::None,
                   message::fitAdvice(result.excessDb));
}

}  // namespace brenvik::cli::media
