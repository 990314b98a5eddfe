#include "ChannelChoice.h"

#include <cstddef>

namespace brenvik {

int chosenChannels(int sourceChannels, const ChannelChoice& choice) {
    if (sourceChannels <= 2) return sourceChannels;
    return choice.mix == ChannelChoice::Mix::MonoSum || choice.right == 0 ? 1 : 2;
}

std::optional<int> missingChannel(int sourceChannels, const ChannelChoice& choice) {
    if (sourceChannels <= 2 || choice.mix == ChannelChoice::Mix::MonoSum) return std::nullopt;
    const auto outside = [&](int channel) { return channel < 1 || channel > sourceChannels; };
    if (outside(choice.left)) return choice.left;
    if (choice.right != 0 && outside(choice.right)) return choice.right;
    return std::nullopt;
}

void mixChannels(std::span<const float> source, int sourceChannels, const ChannelChoice& choice,
                 std::span<float> out) {
    const auto width = static_cast<size_t>(sourceChannels);
    const size_t frames = source.size() / width;
    if (choice.mix == ChannelChoice::Mix::MonoSum) {
        const float scale = 1.0f / static_cast<float>(sourceChannels);
        for (size_t f = 0; f < frames; ++f) {
            float sum = 0.0f;
            for (size_t c = 0; c < width; ++c) sum += source[f * width + c];
            out[f] = sum * scale;
        }
        return;
    }
    const auto left = static_cast<size_t>(choice.left - 1);
    if (choice.right == 0) {
        for (size_t f = 0; f < frames; ++f) out[f] = source[f * width + left];
        return;
    }
    const auto right = static_cast<size_t>(choice.right - 1);
    for (size_t f = 0; f < frames; ++f) {
        out[2 * f] = source[f * width + left];
        out[2 * f + 1] = source[f * width + right];
    }
}

}  // namespace brenvik
