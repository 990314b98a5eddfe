#pragma once
// How loud a play source sounds: its integrated loudness in LUFS (EBU R128, gated) and its true
// peak in dBTP (the highest of its channels, found between the samples too). A loop's tracks are
// measured as they play: one track as a single mono channel, two as left and right.
#include <atomic>
#include <optional>
#include <string>

#include "PlaySource.h"

namespace brenvik::loudness {

struct Loudness {
    // Minus infinity when nothing rises above the gate's absolute floor of -70 LUFS.
    double integratedLufs = 0;
    // Minus infinity when every sample is zero.
    double truePeakDbtp = 0;

    bool silent() const;
};

// A measured loudness, or why there is none (in the program's own words).
struct LoudnessResult {
    std::optional<Loudness> loudness;
    std::string reason;
};

// Reads the source's files once, a block at a time. Throws RoutineError when a file cannot be
// read or has become shorter than its run. Once `stop` turns true it reads no further, and what
// it returns is of the audio read so far.
Loudness measureLoudness(const audition::PlaySource& source,
                         const std::atomic<bool>* stop = nullptr);

// The loop folder's chosen tracks as they play.
LoudnessResult loudnessOfLoop(const std::string& loopFolder,
                              const std::atomic<bool>* stop = nullptr);

// "-14.2 LUFS, true peak -0.3 dBTP"; "silent" when every sample is zero, and "below -70 LUFS"
// for audio too quiet to pass the gate.
std::string loudnessText(const Loudness& loudness);

}  // namespace brenvik::loudness
