#include "LoopSummary.h"

#include <algorithm>
#include <cmath>

#include "LoopLayout.h"
#include "Messages.h"
#include "Numbers.h"
#include "TrackSizes.h"

namespace brenvik::card {

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

std::vector<std::string> LoopSummary::warningLines() const {
    std::vector<std::string> lines;
    for (const LoopProblem& warning : warnings) lines.push_back(name + ": warning: " + warning.text());
    return lines;
}

std::string tempoText(double tempo) { return message::tempoText(tempo); }

LoopSummary summarizeLoop(const LoopContents& contents) {
    LoopSummary summary;
    summary.number = contents.number;
    summary.name = contents.name;
    summary.folder = contents.folder;
    summary.sizeOnDisk = contents.sizeOnDisk;
    summary.fingerprint = contents.fingerprint;
    for (int k = 1; k <= loop::kTrackFiles; ++k)
        if (contents.tracks[static_cast<size_t>(k - 1)]) summary.trackFiles.push_back(k);
    summary.problems = checkLoop(contents);
    summary.warnings = loopWarnings(contents);
    summary.described =
        contents.hasDescription() && *contents.descriptionSize == loop::kDescriptionSize;
    if (!summary.described) return summary;

    const loop::DecodedDescription d = loop::decodeDescription(contents.description);
    summary.tempo = loop::tempoOfCode(d.tempoCode);
    summary.beatCount = d.beatCount;
    summary.beatsPerBar = d.beatsPerBar;
    summary.division = d.division;
    summary.chosenTracks = loop::chosenTracks(contents.description);
    // Track 1's record holds the start and end sector the writer gives every track.
    const int64_t audio = (int64_t{d.tracks[0].endSector} - d.startSector + 1) * loop::kSectorBytes;
    summary.seconds = static_cast<double>(std::max<int64_t>(0, audio)) / loop::kTrackBytesPerSecond;
    return summary;
}

}  // namespace brenvik::card
