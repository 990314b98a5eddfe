#pragma once
// What a waveform shows: the runs of samples it draws, the part a loop holds, and where in the
// view the audio that plays begins, so a window hands one value to its waveform.
#include <cstdint>
#include <optional>
#include <vector>

#include "PlaySource.h"
#include "TrackOpening.h"

namespace brenvik::audition {

struct WaveformSource {
    std::vector<SampleRun> runs;  // each channel of each run is one lane
    int64_t markFrom = 0;         // frames [markFrom, markTo) are what the loop holds
    int64_t markTo = 0;
    int64_t playFrom = 0;  // the frame of the view where the played audio starts
};

// A source wave (as sourceOfWave prepared it): all of its audio, marked as far as a loop written
// from it reaches: whole sectors per track, so a tail shorter than a sector is left out.
WaveformSource waveformOfWave(const PlaySource& wave);

// Opened tracks: each track's whole data chunk as far as the file holds it, pre-buffer and
// post-buffer too, with the audio between them marked (the left track's, in a pair).
WaveformSource waveformOfTracks(const OpenedTrack& left, const std::optional<OpenedTrack>& right);

// A loop on the card (as sourceOfLoop prepared it): what plays, all of it marked.
WaveformSource waveformOfLoop(const PlaySource& loop);

}  // namespace brenvik::audition
