#pragma once
// What info and play take a file for: a loop's track is a .wav file (of any case) in a folder that
// holds loopinfo.ldf, as the Repeater-to-wave window opens one; any other file is a wave.
#include <string>

namespace brenvik::cli {

bool namesTrack(const std::string& path);

}  // namespace brenvik::cli
