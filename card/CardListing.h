#pragma once
// A card at a glance: every loop folder's summary in loop-number order, how many loop numbers
// are free and the free space on the card's volume.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CardFolder.h"
#include "LoopSummary.h"

namespace brenvik {
class Files;
}

namespace brenvik::card {

struct CardListing {
    std::string card;
    std::vector<LoopSummary> loops;
    int freeLoopNumbers = 0;
    std::optional<int> lowestFreeLoop;  // nothing when LOOP1 to LOOP999 all exist
    std::optional<int64_t> freeSpace;   // nothing when the volume cannot tell

    bool intact() const;
};

// Reads the descriptions and track headers only, never the audio. Throws RoutineError when the
// card folder cannot be read.
CardListing listCard(const std::string& card, const Files& files);

// The summary of one loop folder, as the card's table lists it.
LoopSummary summarizeLoopFolder(const Files& files, const LoopFolder& folder);

}  // namespace brenvik::card
