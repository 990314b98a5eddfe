#pragma once
// Counts and codes of a Repeater loop: sectors, clusters, audio length, the tempo code and the
// 24-bit two's complement form every loopinfo.ldf field is built from.
#include <cstdint>

namespace brenvik::loop {

constexpr int32_t kSectorBytes = 512;
constexpr int32_t kClusterSectors = 32;
constexpr int32_t kClusterBytes = kSectorBytes * kClusterSectors;  // 16384
constexpr int32_t kPreBufferBytes = 16384;
constexpr int32_t kTrackAudioOffset = 44 + kPreBufferBytes;  // 16428
constexpr int32_t kCopyChunkBytes = 1048576;
constexpr int32_t kMaxEndSector = 65535;  // the 16-bit end-sector field
// What a loop folder takes on the card besides its audio: the track headers, the pre-buffers,
// loopinfo.ldf and the folder's entries. A save adds at most its audio + 49240 bytes.
constexpr int32_t kSpaceMargin = 50000;
// A track's audio, 16-bit mono at 44.1 kHz, in bytes per second.
constexpr double kTrackBytesPerSecond = 88200.0;
// What a file of `size` bytes takes on a volume that gives files room in blocks of `block` bytes
// (a FAT card's clusters): the size rounded up to whole blocks. A folder takes a block besides.
constexpr int64_t roomOnCard(int64_t size, int64_t block) {
    return block <= 1 ? size : (size + block - 1) / block * block;
}

// n: sectors in each written track.
int32_t trackSectors(int32_t sourceDataLength, bool stereo);
// N: sectors of the whole loop, d \ 512 for mono and stereo alike.
int32_t loopSectors(int32_t sourceDataLength);
// m = R((N - 1) / 32 + 1) in double precision, ties to even: rounded, not rounded up.
int32_t clusterCount(int32_t loopSectors);
// Bytes of audio in each written track: 512 n (mono) or 256 N (stereo).
int32_t audioLength(int32_t sourceDataLength, bool stereo);

// Whether loopinfo.ldf cannot describe a loop of this much source data: its bitmap room holds
// 2592 clusters per track and its end-sector field 16 bits.
bool exceedsLoop(int64_t sourceDataLength, bool stereo);
// The most source data a loop can take: about 42 MB in stereo, 33.5 MB in mono.
int32_t longestLoopSource(bool stereo);

// T = 410 x R(t x 10 - 1), with t x 10 - 1 formed in single precision.
int32_t tempoCode(float beatsPerMinute);
// The tempo a code stands for, as the Repeater shows it: (T / 410 + 1) / 10 beats per minute.
double tempoOfCode(int32_t code);

// Byte 0, 1 or 2 (the least significant first) of the 24-bit two's complement form; 0 for any
// other byte.
uint8_t int24Byte(int32_t value, int byte);

}  // namespace brenvik::loop
