#pragma once
// Whether a loop folder is intact: loopinfo.ldf present and 16384 bytes, both check triples
// right, every chosen track's file present with a well-formed header whose data holds the audio
// the track's end sector asks for, every cluster bitmap with exactly its cluster count of bits,
// and no track file for a track the description does not choose. Each problem names the file
// and the field.
#include <string>
#include <vector>

#include "LoopContents.h"

namespace brenvik::card {

struct LoopProblem {
    std::string file;    // loopinfo.ldf, track2.wav, or the folder itself ("folder")
    std::string field;   // "check triple 1", "sample rate", ...
    std::string detail;  // what is wrong, with the values found

    // "track2.wav: sample rate: 48000, not 44100"
    std::string text() const;
    // "LOOP7: track2.wav: sample rate: 48000, not 44100"
    std::string line(const std::string& loopName) const;
};

std::vector<LoopProblem> checkLoop(const LoopContents& contents);

}  // namespace brenvik::card
