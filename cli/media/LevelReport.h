#pragma once
// What a conversion did to the level, on standard error: the NaN and infinite samples read as 0,
// the samples clipped (with how far --fit or --gain would lower the level), and a gain applied.
#include "AudioConversion.h"
#include "ConsoleInteraction.h"

namespace brenvik::cli::media {

void reportLevel(const ConversionResult& result, ConsoleInteraction& ui);

}  // namespace brenvik::cli::media
