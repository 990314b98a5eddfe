#pragma once
// Ejecting a card, for the command line and the Card window alike: never while a change to it is
// under way, and never with an interrupted change left on it, so that the card pulled out holds
// its loops as they were or as they were meant to be.
#include <functional>
#include <string>

#include "Files.h"
#include "VolumeEjection.h"

namespace brenvik::card {

struct CardEjection {
    bool ejected = false;   // the card may be pulled out
    std::string recovered;  // the line about an interrupted change found and dealt with; empty for none
    std::string line;       // ejected, not ejected, or a change under way
    std::string reason;     // said below the line; empty for none
};

// Unmounts the volume holding a folder and switches its device off (UdisksEject.h in the programs).
using VolumeEjector = std::function<VolumeEjection(const std::string& folder)>;

// Takes the card's lock for a moment: when another program holds it, nothing is ejected; an
// interrupted change is finished or taken back first. The lock is let go before `ejectVolume`
// runs, as a folder held open keeps the volume mounted. Never throws.
CardEjection ejectCard(Files& files, const std::string& card, const VolumeEjector& ejectVolume);

}  // namespace brenvik::card
