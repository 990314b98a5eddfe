#pragma once
// The tempo of a wave file: its onsets found by aubio's onset detector, then the beat count that
// explains them best (TempoEstimate.h). This is the part that links the audio libraries; the
// windows and brenvik-cli's companion call it, brenvik-cli itself does not.
#include <optional>
#include <string>
#include <vector>

#include "TempoEstimate.h"

namespace brenvik::tempo {

struct WaveOnsets {
    std::vector<Onset> onsets;
    double seconds = 0;  // the wave's length, its channels mixed into one
};

// The onsets of the wave at a path, or nothing when it cannot be read.
std::optional<WaveOnsets> findWaveOnsets(const std::string& path);

// The tempo found in the wave at a path: nothing when it cannot be read or shows no clear tempo.
std::optional<TempoEstimate> estimateWaveTempo(const std::string& path);

}  // namespace brenvik::tempo
