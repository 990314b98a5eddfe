#pragma once
// How `list` and `check` print a card: loop summaries as a table or as JSON, problems as lines.
#include <ostream>

#include "CardListing.h"
#include "InfoReport.h"

namespace brenvik::cli {

InfoNode loopNode(const card::LoopSummary& loop);
InfoNode listingNode(const card::CardListing& listing);
// The table for people: one row per loop, its problems below it, then the card's totals.
void writeListingTable(std::ostream& out, const card::CardListing& listing);

}  // namespace brenvik::cli
