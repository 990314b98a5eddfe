#pragma once
// One line of the card's table: what a loop holds as the Repeater shows it (tempo, bars, beats,
// division, length, its tracks), whether it is intact and what it plays otherwise than meant.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "LoopCheck.h"
#include "LoopContents.h"
#include "LoopWarnings.h"

namespace brenvik::card {

struct LoopSummary {
    int number = 0;
    std::string name;    // LOOP7
    std::string folder;
    bool described = false;  // a readable loopinfo.ldf of the right size: the fields below hold
    double tempo = 0;        // beats per minute, from the tempo code
    int beatCount = 0, beatsPerBar = 0, division = 0;  // the bars, beats and division fields
    double seconds = 0;      // the audio of one track, from the end sector as the writer stores it
    std::vector<int> chosenTracks;
    std::vector<int> trackFiles;  // the track files in the folder
    int64_t sizeOnDisk = 0;
    std::vector<LoopProblem> problems;
    std::vector<LoopProblem> warnings;  // the loop plays, but not as meant
    std::optional<std::string> fingerprint;  // see LoopContents

    bool intact() const { return problems.empty(); }
    // "mono", "stereo", "3 tracks", "no tracks": by the number of chosen tracks.
    std::string channels() const;
    // The problems, one line each ("LOOP7: track2.wav: ..."), and the warnings ("LOOP7: warning:
    // loopinfo.ldf: tempo: ...").
    std::vector<std::string> problemLines() const;
    std::vector<std::string> warningLines() const;
};

LoopSummary summarizeLoop(const LoopContents& contents);

// The tempo with one decimal, as the Repeater's display shows it: "120.0".
std::string tempoText(double tempo);

}  // namespace brenvik::card
