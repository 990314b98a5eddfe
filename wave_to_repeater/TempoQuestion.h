#pragma once
// A loop the Repeater would play otherwise than the window shows (another tempo, none at all where
// the one shown would fit, a beat count past its byte): what differs, one sentence each, and the
// question the window's Save asks before writing it.
#include <string>
#include <vector>

#include "Interaction.h"
#include "LoopPlan.h"
#include "LoopWriting.h"

namespace brenvik {

// "LOOP3 will play at 232.5 BPM, not the 120.0 BPM shown", ...; empty when nothing differs.
std::vector<std::string> differencesFromShown(const LoopPlan& plan, const std::string& loopName);

// Yes writes the tempo shown, No the loop as it stands, Cancel (or a box closed otherwise)
// nothing. Where only the beat count differs the tempo shown would change nothing: Yes writes the
// loop as it stands and No nothing.
TempoChoice askAboutTempo(Interaction& ui, const LoopPlan& plan, const std::string& loopName);

}  // namespace brenvik
