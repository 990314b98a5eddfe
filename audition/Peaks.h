#pragma once
// The waveform overview: the lowest and highest sample of every block of 256 frames, for each
// channel, read from the file 1 MiB at a time so memory stays flat however long the audio is.
#include <cstdint>
#include <functional>
#include <span>

#include "PlaySource.h"

namespace brenvik::audition {

struct Peak {
    int16_t min = 0;
    int16_t max = 0;
    bool operator==(const Peak&) const = default;
};

constexpr int64_t kPeakBlockFrames = 256;
constexpr int64_t kPeakReadBytes = 1 << 20;

// Blocks of a run: the last one may hold fewer frames.
inline int64_t peakBlocks(int64_t frames) {
    return (frames + kPeakBlockFrames - 1) / kPeakBlockFrames;
}

// Receives the peaks of blocks firstBlock, firstBlock + 1, ... as they are read, each block's
// channels side by side (left then right). Returns false to stop early.
using PeakReceiver = std::function<bool(int64_t firstBlock, std::span<const Peak> peaks)>;

// Throws RoutineError when the file cannot be read or ends before the run does.
void computePeaks(const SampleRun& run, const PeakReceiver& receive);

// The peaks of `frames` frames of `channels` interleaved samples, block by block, into `out`
// (blocks x channels entries).
void peaksOfSamples(const int16_t* samples, int64_t frames, int channels, Peak* out);

}  // namespace brenvik::audition
