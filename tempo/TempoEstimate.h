#pragma once
// The tempo of a loop found from the onsets in its audio. A loop is a whole number of beats long,
// so rather than measuring a tempo and rounding it, each beat count whose tempo is plausible is
// tried: its beat grid (beat k at k * length / beats, wrapping round at the loop's end) should
// land on the strong onsets and leave none of them between its beats. Plain C++, no audio
// library: the onsets come from OnsetFinder.h.
#include <optional>
#include <string>
#include <vector>

namespace brenvik::tempo {

struct Onset {
    double seconds = 0;   // from the start of the loop
    double strength = 0;  // how strong the attack is; only the ratios between onsets matter
};

struct TempoEstimate {
    double beatsPerMinute = 0;  // of the beat count over the loop's length: 60 * beats / seconds
    int beats = 0;
    double confidence = 0;  // 0 to 1: how well the grid explains the onsets

    // 4 beats per bar where the beat count divides by 4, otherwise 1.
    int beatsPerBar() const { return beats % 4 == 0 ? 4 : 1; }
};

// The range of tempos tried, in beats per minute.
inline constexpr double kSlowestTempo = 60.0;
inline constexpr double kFastestTempo = 200.0;

// The beat count whose grid best explains the onsets of a loop `seconds` long, or nothing when
// no count explains them (too few onsets, or none on any plausible grid).
std::optional<TempoEstimate> estimateFromOnsets(const std::vector<Onset>& onsets, double seconds);

// Finds the tempo of the wave at a path; nothing when it cannot be read or has no clear tempo.
// brenvik-cli is handed one by its companion, which links the onset detector.
using TempoFinder = std::optional<TempoEstimate> (*)(const std::string& wavePath);

}  // namespace brenvik::tempo
