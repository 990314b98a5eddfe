#pragma once
// Filling a card's free loops with waves (what a file manager drops on the Card window): each
// file in turn into the lowest free loop number, through the loop writer with the window's
// default settings (half the beats the tempo bar offers, one beat per bar, the mono or left
// channel on track 1, the right one on track 2) and all its checks. A file the Repeater cannot
// play as it is (another rate or width, float, AIFF, FLAC, more channels) is converted first, into
// a scratch folder; one too long for a loop is skipped before it is converted.
#include <optional>
#include <string>
#include <vector>

#include "CoreSeam.h"
#include "Files.h"

namespace brenvik::card {

struct FillOutcome {
    std::string source;
    std::optional<int> loopNumber;  // where it was written
    std::string message;            // why it was not: the writer's, the opener's or the converter's
    std::string reason;
    std::string recovered;          // what the writer did about a change an earlier program left half-done
};

// `progress` sees all the files as one run, 1000 steps a file. `readBack`: each loop is read back
// from the card before it takes its number, as the loop writer does.
std::vector<FillOutcome> fillFreeLoops(const std::vector<std::string>& sources, const std::string& card,
                                       const std::string& scratchFolder, Files& files,
                                       const Progress& progress, bool readBack = true);

}  // namespace brenvik::card
