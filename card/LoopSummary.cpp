#include "LoopSummary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "LoopLayout.h"
#include "Numbers.h"
#include "TrackSizes.h"

namespace brenvik::card {

namespace {

// Track audio is 16-bit mono at 44.1 kHz.
constexpr double kTrackBytesPerSecond = 88200.0;

}  // namespace

std::string LoopSummary::channels() const {
    switch (chosenTracks.size()) {
    case 0: return "no tracks";
    case 1: return "mono";
    case 2: return "stereo";
    default: return intToText(static_cast<long long>(chosenTracks.size())) + " tracks";
    }
}

std::vector<std::string> LoopSummary::problemLines() const {
    std::vector<std::string> lines;
    for (const LoopProblem& problem : problems) lines.push_back(problem.line(name));
    return lines;
}

std::string tempoText(double tempo) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", tempo);
    return text;
}

LoopSummary summarizeLoop(const LoopContents& contents) {
    LoopSummary summary;
    summary.number = contents.number;
    summary.name = contents.name;
    summary.folder = contents.folder;
    summary.sizeOnDisk = contents.sizeOnDisk;
    for (int k = 1; k <= loop::kTrackFiles; ++k)
        if (contents.tracks[static_cast<size_t>(k - 1)]) summary.trackFiles.push_back(k);
    summary.problems = checkLoop(contents);
    summary.described =
        contents.hasDescription() && *contents.descriptionSize == loop::kDescriptionSize;
    if (!summary.described) return summary;

    const loop::DecodedDescription d = loop::decodeDescription(contents.description);
    summary.tempo = loop::tempoOfCode(d.tempoCode);
    summary.beatCount = d.beatCount;
    summary.beatsPerBar = d.beatsPerBar;
    summary.division = d.division;
    summary.chosenTracks = loop::chosenTracks(contents.description);
    // The opener reads the start and end sector of track 1's record, whichever track it opens.
    const int32_t audio = (d.tracks[0].endSector - d.startSector + 1) * loop::kSectorBytes;
    summary.seconds = std::max(0, audio) / kTrackBytesPerSecond;
    return summary;
}

}  // namespace brenvik::card
