#pragma once
// The loop writer: turns an accepted wave into a Repeater loop folder (track files behind their
// silent pre-buffers and loopinfo.ldf). It checks the loop number, the destination, an existing
// loop and the free space first, and reports everything through the platform's messages.
#include <cstdint>
#include <string>
#include <vector>

#include "AppGlobals.h"
#include "Platform.h"

namespace brenvik {

// What the writer takes from the ".WAV to Repeater" window.
struct LoopRequest {
    std::string destination;      // loopName text
    std::string loopNumberText;   // loopNumber text
    std::string sourcePath;       // LoopFile caption
    std::string waveMode;         // "mono" or "stereo"; anything else: no wave accepted yet
    int leftTrack = 1;            // the mono or left track, 1..4
    int rightTrack = 2;           // the right track (stereo), 1..4
    int16_t leftPan = 0, leftPitch = 0, rightPan = 0, rightPitch = 0;
    int16_t tempoPosition = 0;    // tempoCntrl Value v: the loop holds v + 1 beats
    std::string beatsText = "1";  // Text1(3)
    std::string divisionText = "4";  // Text1(4)
    std::vector<float> tempoTable;
};

struct LoopWriteResult {
    std::string loopNumberText;  // the loop number in normal form once it passed its checks
    bool written = false;        // "File writing successful" was shown
    std::string loopFolder;      // the folder written
};

// fileSaving of the ".WAV to Repeater" window.
LoopWriteResult writeLoop(const LoopRequest& request, Platform& platform);

}  // namespace brenvik
