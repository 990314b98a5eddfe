#include "CardListing.h"

#include <exception>
#include <set>

#include "CardFolder.h"
#include "Platform.h"

namespace brenvik::card {

bool CardListing::intact() const {
    for (const LoopSummary& loop : loops)
        if (!loop.intact()) return false;
    return true;
}

LoopSummary summarizeLoopFolder(const std::string& folder) {
    return summarizeLoop(readLoopContents(folder));
}

CardListing listCard(const std::string& card, Platform& platform) {
    CardListing listing;
    listing.card = card;
    std::set<int> used;
    for (const LoopFolder& folder : loopFoldersIn(card)) {
        listing.loops.push_back(summarizeLoopFolder(folder.path));
        used.insert(folder.number);
    }
    listing.freeLoopNumbers = kHighestLoop - kLowestLoop + 1 - static_cast<int>(used.size());
    for (int n = kLowestLoop; n <= kHighestLoop && !listing.lowestFreeLoop; ++n)
        if (!used.count(n)) listing.lowestFreeLoop = n;
    try {
        listing.freeSpace = platform.freeSpace(card);
    } catch (const std::exception&) {
        // shown as unknown
    }
    return listing;
}

}  // namespace brenvik::card
