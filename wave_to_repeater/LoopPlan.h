#pragma once
// What a save of an opened wave puts on the card, worked out from the wave's data size and the
// loop settings before anything is read or written: the values of loopinfo.ldf, the length of
// each track, the tempo as the Repeater will show it, and what stands in the way or will surprise
// the musician. The loop writer builds the loop from this plan, the wave-to-Repeater window shows
// it in its "will write" line and brenvik-cli to-loop prints it, so the three cannot disagree.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Channels.h"
#include "LoopDescription.h"
#include "LoopSettings.h"
#include "Messages.h"

namespace brenvik {

struct LoopPlan {
    bool stereo = false;
    LoopSettings settings;
    std::vector<int> tracks;    // the mono track, or the left and then the right one
    int32_t audioLength = 0;    // bytes of audio in each track
    // Why the description cannot hold this much audio: refused before the overwrite question.
    std::optional<std::string> tooLong;
    // The description's values; nothing when they cannot be stored (a tempo index outside the
    // table, a count beyond its field), and then why: the save fails after the question.
    std::optional<loop::LoopValues> values;
    std::string valuesFailure;
    float tempoShown = 0;     // what the Tempo box shows for the beat count
    double tempoOnCard = 0;   // what the Repeater shows for the code written
    // Where the loop would differ from what the window shows; Save asks before writing it.
    bool tempoMoved = false;        // the Repeater will play tempoOnCard, not tempoShown
    bool tempoOnlyAsShown = false;  // no tempo past the table, but the one shown can be written
    bool beatsWrap = false;         // the beat count does not fit its byte
    int beatsCounted = 0;           // what the Repeater counts: the beat count's low byte
    // What to change, one sentence each: first what bars the save, then what it would get wrong.
    std::vector<std::string> warnings;

    double seconds() const;
    bool differsFromShown() const { return tempoMoved || tempoOnlyAsShown || beatsWrap; }
};

// The tempo comes from the table entry at beats per bar x (beats - 1), as the Repeater's loops
// have always been written, or with `tempoAsShown` from the entry the Tempo box shows. The
// warnings give their advice in `voice`'s words.
LoopPlan planLoop(ChannelMode mode, int32_t dataSize, const LoopSettings& settings,
                  const std::vector<float>& tempoTable, bool tempoAsShown,
                  message::Voice voice = message::Voice::Window);

// "/card/LOOP7: 120.0 BPM, 16 beats in 4 bars of 4 (division 4), stereo on tracks 1 and 2, 8.0 s".
std::string planSummary(const LoopPlan& plan, const std::string& loopFolder);

}  // namespace brenvik
