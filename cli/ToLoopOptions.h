#pragma once
// The arguments of `brenvik-cli to-loop`, checked for what can be checked before the wave is
// opened: the ranges of the controls they stand for and the loop number box's 3 characters.
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brenvik::cli {

struct ToLoopOptions {
    std::vector<std::string> sources;  // each into the next free loop number, in order
    std::string dest;
    std::optional<std::string> loop;  // as typed into the loopNumber box
    std::optional<int> beats;         // beats in the loop: tempo position + 1
    int beatsPerBar = 1;
    int track = 1;
    int rightTrack = 2;
    int16_t pan = 0, pitch = 0, rightPan = 0, rightPitch = 0;  // pitch in hundredths of a semitone
    bool overwrite = false;
};

// The options, or nothing after telling err what is wrong (bad usage).
std::optional<ToLoopOptions> parseToLoopOptions(const std::vector<std::string>& args, std::ostream& err);

}  // namespace brenvik::cli
