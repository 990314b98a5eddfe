#pragma once
// Repeater loop folders for the Repeater-to-wave tests, built on disk with the loop format:
// a loopinfo.ldf from the description builder (with the start byte and end word set as a test
// needs them) and track files whose data chunk is pre-buffer, pattern audio and post-buffer.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "LoopDescription.h"

namespace brenvik::test {

// Filler bytes of the buffers around the audio: a saver that copies any of them shows it.
constexpr uint8_t kPreFill = 0xA5;
constexpr uint8_t kPostFill = 0xEE;

struct TrackSpec {
    int track = 1;                      // written as trackN.wav
    int32_t pre = 16384;                // buffer bytes in front of the audio
    std::vector<uint8_t> audio;         // the loop's audio
    int32_t post = 0;                   // buffer bytes behind the audio
    std::optional<int32_t> dataSize;    // header data size; pre + audio + post when not given
    int32_t sampleRate = 44100;         // written into the header
    std::optional<size_t> cutAt;        // file cut short after this many bytes
};

// Creates root/name and returns its path.
std::string makeFolder(const std::string& root, const std::string& name);

// loopinfo.ldf for a loop of `sectors` sectors on track 1, then the start byte at 51 and the
// end word at 54 as given.
void writeDescription(const std::string& folder, uint8_t startByte, int16_t endWord,
                      int32_t sectors = 1);

// The description in folder/loopinfo.ldf, decoded as the Repeater reads it.
loop::DecodedDescription readDescription(const std::string& folder);

// The description a writer gives an audio length: start 0, end audio / 512 - 1.
void writeDescriptionFor(const std::string& folder, int32_t audioBytes);

// Writes the track file and returns its path.
std::string writeTrack(const std::string& folder, const TrackSpec& layout);

// A ready loop folder holding one track: description for the audio and a track with a
// 16384-byte pre-buffer. Returns the track's path.
std::string makeLoop(const std::string& root, const std::string& name,
                     const std::vector<uint8_t>& audio, int track = 1, int32_t post = 0);

// A loop as the loop writer leaves it: loopinfo.ldf choosing `tracks` (`beats` beats, `beatsPerBar`
// to a bar, division 4, at `tempo`, or with 0 at the tempo that many beats of this length make)
// and one track file each, 16384 bytes of silence and then `sectors` sectors of pattern audio, a
// different pattern per track. Returns the folder card/LOOPn.
std::string makeCardLoop(const std::string& card, int number, const std::vector<int>& tracks,
                         int32_t sectors, int beats = 1, double tempo = 0, int beatsPerBar = 1);

// The canonical header of a 16-bit PCM wave, fields written from the values given.
std::vector<uint8_t> expectedHeader(int16_t channels, int32_t sampleRate, int32_t byteRate,
                                    int16_t blockAlign, int32_t dataSize);

// A saved wave as it must be: the header a save writes (the byte rate and block align of 16-bit
// mono or stereo at 44.1 kHz, the sample rate as given) and then the data.
std::vector<uint8_t> expectedWave(int16_t channels, int32_t sampleRate, const std::vector<uint8_t>& data);

// Stereo frames as the saved wave must hold them: frame k is left sample k (or silence once
// the left audio has ended) followed by right sample k (likewise); max(left, right) / 2 frames.
std::vector<uint8_t> interleaved(const std::vector<uint8_t>& left, const std::vector<uint8_t>& right);

}  // namespace brenvik::test
