#pragma once
// Mono or stereo, and the two channels of a stereo wave.

namespace brenvik {

enum class ChannelMode { Mono, Stereo };
enum class Channel { Left, Right };

}  // namespace brenvik
