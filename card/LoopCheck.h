#pragma once
// Whether a loop folder is intact: loopinfo.ldf present and 16384 bytes, both check triples
// right, every chosen track's file present with a well-formed header whose data holds the audio
// the track's end sector asks for (the end sector read as the loop writer stores it), every
// cluster bitmap with exactly its cluster count of bits, and no track file for a track the
// description does not choose; the folder and its files real ones, not links, and no other entry
// of the card holding the folder's name in another case. Each problem names the file and the
// field, and says what it means for the music and what to do.
#include <string>
#include <vector>

#include "LoopContents.h"

namespace brenvik::card {

struct LoopProblem {
    std::string file;    // loopinfo.ldf, track2.wav, or the folder itself ("folder")
    std::string field;   // "check triple 1", "sample rate", ...
    std::string detail;  // what is wrong, with the values found
    std::string advice;  // what it means for the music and what to do
    int track = 0;       // the chosen track it concerns; 0 for none

    // "track2.wav: sample rate: 48000, not 44100: the Repeater cannot play the track; ..."
    std::string text() const;
    // "LOOP7: track2.wav: sample rate: 48000, not 44100"
    std::string line(const std::string& loopName) const;
};

std::vector<LoopProblem> checkLoop(const LoopContents& contents);

// The problems with a chosen track: what an export would turn into silence or refuse.
std::vector<LoopProblem> trackProblems(const std::vector<LoopProblem>& problems);

}  // namespace brenvik::card
