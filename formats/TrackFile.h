#pragma once
// A Repeater track file: a mono 16-bit 44.1 kHz wave whose data chunk holds a 16384-byte
// silent pre-buffer in front of the audio.
#include <cstdint>
#include <string>
#include <string_view>

#include "WaveHeader.h"

namespace brenvik::loop {

// Header of a track holding audioLength bytes of audio: data length 16384 + audio length.
wave::Header trackHeader(int32_t audioLength);

inline constexpr int kTrackFiles = 4;  // track1.wav to track4.wav

// "track1.wav" to "track4.wav".
std::string trackFileName(int track);

// Which track a file name is: 3 for "track3.wav" (or "TRACK3.WAV"); 0 for any other name.
int trackOfFileName(std::string_view name);

}  // namespace brenvik::loop
