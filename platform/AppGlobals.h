#pragma once
// The program-wide state the windows share: one copy for the whole program.
#include <cstdint>
#include <string>

#include "Platform.h"

namespace brenvik {

struct AppGlobals {
    std::string repMode = "mono";      // Repeater-to-wave window: "mono" or "stereo"
    std::string repChannel = "left";   // channel the next opened track fills
    std::string initLoopDir = Platform::defaultRoot();
    std::string initWaveDir = Platform::defaultRoot();
    int16_t crossfadeMs = 45;          // stored and carried along only
    int16_t autoIncrement = 1;         // 0 is off
    std::string chosenFolder;          // the folder chooser's result
    std::string waveMode;              // "mono"/"stereo" once a wave was accepted, else empty
    int16_t beatsPerBar = 1;           // last ScrollBeats choice, 1 to 7
};

}  // namespace brenvik
