#pragma once
// How `list` and `check` print a card: loop summaries as a table or as JSON, problems as lines.
#include <map>
#include <ostream>
#include <string>

#include "CardListing.h"
#include "CardNames.h"
#include "InfoReport.h"

namespace brenvik::cli {

// What the library knows of a card's loops, by loop folder path.
using LoopNames = std::map<std::string, library::NamedLoop>;

// With `named`, the loop's name and notes too ("loopName" and "notes": "name" is its folder's).
InfoNode loopNode(const card::LoopSummary& loop, const library::NamedLoop* named = nullptr);
InfoNode listingNode(const card::CardListing& listing, const LoopNames& names = {});
// The table for people: one row per loop, its name last, its problems below it, then the card's
// totals.
void writeListingTable(std::ostream& out, const card::CardListing& listing, const LoopNames& names = {});

}  // namespace brenvik::cli
