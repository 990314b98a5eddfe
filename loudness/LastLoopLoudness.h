#pragma once
// The loudness of the loop last asked about, measured again only when the loop has changed: the
// Card window asks each time its selection moves, and reading a long loop takes a while.
#include <string>
#include <utility>
#include <vector>

#include "Loudness.h"

namespace brenvik::loudness {

class LastLoopLoudness {
public:
    // The loop folder's loudness, measured now unless its files have the same names, sizes and
    // modification times as when it was last measured.
    const LoudnessResult& of(const std::string& loopFolder);

private:
    // The folder's path, then each file's name, size and modification time.
    using Stamp = std::vector<std::string>;
    static Stamp stampOf(const std::string& loopFolder);

    Stamp m_stamp;
    LoudnessResult m_result;
};

}  // namespace brenvik::loudness
