#include "ToLoopParameters.h"

#include "Numbers.h"

namespace brenvik::cli {

namespace {

constexpr int kLongestBar = 7;

// In stereo each channel's options lose the track the other channel holds, so a track the
// right channel holds is first freed by moving the right channel to a spare track.
void chooseStereoTracks(Wav2Rep& window, int left, int right) {
    if (!window.Option[left].enabled) {
        int spare = 1;
        while (spare == left || spare == window.leftTrack()) ++spare;
        window.selectOption(spare + 4);
    }
    window.selectOption(left);
    window.selectOption(right + 4);
}

}  // namespace

bool applyLoopParameters(Wav2Rep& window, const ToLoopOptions& options, std::ostream& err) {
    const int highest = window.maxBeats + 1;
    const int beats = options.beats.value_or(window.tempoCntrl.value + 1);
    if (beats < 1 || beats > highest) {
        err << "brenvik-cli to-loop: --beats must lie between 1 and " << highest << " for this wave\n";
        return false;
    }
    if (beats % options.beatsPerBar != 0) {
        err << "brenvik-cli to-loop: " << options.beatsPerBar << " beats per bar do not divide " << beats
            << " beats\n";
        return false;
    }
    window.setTempoValue(static_cast<int16_t>(beats - 1));
    const std::string perBar = intToText(options.beatsPerBar);
    for (int click = 0; click < kLongestBar && window.Text1[3].text != perBar; ++click) window.ScrollBeats_Click();

    const bool stereo = window.globals().waveMode == "stereo";
    if (stereo)
        chooseStereoTracks(window, options.track, options.rightTrack);
    else
        window.selectOption(options.track);
    window.setLeftPan(options.pan);
    window.setLeftPitch(options.pitch);
    if (stereo) {
        window.setRightPan(options.rightPan);
        window.setRightPitch(options.rightPitch);
    }
    return true;
}

}  // namespace brenvik::cli
