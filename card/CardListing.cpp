#include "CardListing.h"

#include <exception>
#include <set>

#include "Files.h"
#include "LoopFolderName.h"

namespace brenvik::card {

bool CardListing::intact() const {
    for (const LoopSummary& loop : loops)
        if (!loop.intact()) return false;
    return true;
}

LoopSummary summarizeLoopFolder(const Files& files, const LoopFolder& folder) {
    return summarizeLoop(readLoopContents(files, folder));
}

CardListing listCard(const std::string& card, const Files& files) {
    CardListing listing;
    listing.card = card;
    std::set<int> used;
    for (const LoopFolder& folder : loopFoldersIn(files, card)) {
        listing.loops.push_back(summarizeLoopFolder(files, folder));
        used.insert(folder.number);
    }
    listing.freeLoopNumbers =
        loop::kHighestLoop - loop::kLowestLoop + 1 - static_cast<int>(used.size());
    for (int n = loop::kLowestLoop; n <= loop::kHighestLoop && !listing.lowestFreeLoop; ++n)
        if (!used.count(n)) listing.lowestFreeLoop = n;
    try {
        listing.freeSpace = files.freeSpace(card);
    } catch (const std::exception&) {
        // shown as unknown
    }
    return listing;
}

}  // namespace brenvik::card
