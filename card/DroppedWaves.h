#pragma once
// Waves a file manager drops on the Card window, written into the card's free loops in two steps
// with the musician's choice between them. First each file is examined through the import
// path (one too long for a loop is refused before it is converted, one the Repeater cannot play as
// it is is converted into a scratch folder), opened as the loop writer opens a wave, given the
// next of the lowest free loop numbers and the beats its found tempo suggests. Then the waves the
// musician kept are written through the loop writer and all its checks, each at the tempo shown
// for its beat count, the mono or left channel on track 1, the right one on track 2, each named
// in the user's loop library after the file dropped.
#include <optional>
#include <string>
#include <vector>

#include "CallerHooks.h"
#include "Channels.h"
#include "Files.h"
#include "LoopPlan.h"
#include "LoopSettings.h"
#include "TempoEstimate.h"
#include "WaveOpening.h"

namespace brenvik::card {

struct DroppedWave {
    std::string source;
    std::string wave;               // what is written: the source, or its converted copy
    std::optional<int> loopNumber;  // the free number it takes; nothing when it is refused
    std::string message;            // why it is refused: the converter's, the opener's or the card's
    std::string reason;
    ChannelMode mode = ChannelMode::Mono;
    OpenedWave opened;
    std::optional<tempo::TempoEstimate> tempoFound;
    LoopSettings settings;  // the beats and bars it gets, which the musician may change

    bool accepted() const { return loopNumber.has_value(); }
    double seconds() const;
};

// The beats and bars a wave gets: those of the tempo found when the wave has room for them (four
// beats to the bar when they divide by four), otherwise half the beats the tempo bar offers, one
// beat per bar.
LoopSettings initialSettings(const OpenedWave& wave, const std::optional<tempo::TempoEstimate>& found);

// The loop the writer makes of a dropped wave with its settings, at the tempo shown for its beats.
LoopPlan planOf(const DroppedWave& wave);

struct DroppedWaveOutcome {
    std::string source;
    std::optional<int> loopNumber;  // where it was written
    std::string message;            // why it was not: the writer's, the opener's or the converter's
    std::string reason;
    std::string recovered;          // what the writer did about a change an earlier program left half-done
};

// `progress` sees all the files as one run, 1000 steps a file. `findTempo` may be null: no tempo
// is found then.
std::vector<DroppedWave> examineDropped(const std::vector<std::string>& sources, const std::string& card,
                                        const std::string& scratchFolder, Files& files, const Progress& progress,
                                        tempo::TempoFinder findTempo);

// Each accepted wave into its loop number (a loop there since is left as it is); a refused one is
// told as it was refused. `readBack`: each loop is read back from the card before it takes its
// number, as the loop writer does.
std::vector<DroppedWaveOutcome> writeDropped(const std::vector<DroppedWave>& waves, const std::string& card,
                                             Files& files, const Progress& progress, bool readBack = true);

}  // namespace brenvik::card
