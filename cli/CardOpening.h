#pragma once
// What every command that opens a card does first: a change an earlier program left half-done is
// finished or taken back, and the one line about it said on the error stream.
#include <ostream>
#include <string>

#include "CardTransaction.h"
#include "CommandTable.h"

namespace brenvik::cli {

// `path` is a card or one loop folder of it. A card another program is changing is left alone.
card::Recovery openCard(Files& files, const std::string& path, std::ostream& err);

// Every command that writes loops onto a card reads them back from the card before they take their
// numbers, unless told not to.
inline constexpr Option kNoVerify =
    Option::flag("--no-verify", "does not read what is written back from the card before it takes its number");

// The lines a writer's result carries about what it found and did, on the error stream.
void sayRecovered(const std::string& line, std::ostream& err);

}  // namespace brenvik::cli
