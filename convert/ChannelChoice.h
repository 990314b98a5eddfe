#pragma once
// Which channels of a source become the loop's. A mono or stereo source passes as it is; from a
// source of more channels the caller picks one or two, or sums them all into one.
#include <optional>
#include <span>

namespace brenvik {

struct ChannelChoice {
    enum class Mix { Pick, MonoSum };
    Mix mix = Mix::Pick;
    // Source channels counted from 1. The default takes the first two, the front left and right
    // in the usual order of multichannel waves, as a stereo loop.
    int left = 1;
    int right = 2;  // 0 picks `left` alone, for a mono loop
};

// The channels after the choice: 1 or 2.
int chosenChannels(int sourceChannels, const ChannelChoice& choice);

// A picked channel the source does not have, if any.
std::optional<int> missingChannel(int sourceChannels, const ChannelChoice& choice);

// Mixes frames of interleaved source samples (more than two channels) into the chosen channels;
// `out` holds frames x chosenChannels samples. A mono sum is the mean, so it cannot clip.
void mixChannels(std::span<const float> source, int sourceChannels, const ChannelChoice& choice,
                 std::span<float> out);

}  // namespace brenvik
