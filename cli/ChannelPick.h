#pragma once
// Which channels of a source of more than two convert keeps, as its --channels option gives
// them: "3,4" picks two as left and right, "3" one as mono, "sum" mixes all of them into mono.
// The command line is read here, without the audio libraries; the companion hands the pick to
// the converter.
#include <optional>
#include <ostream>
#include <string>

namespace brenvik::cli {

struct ChannelPick {
    bool monoSum = false;
    int left = 1;   // counted from 1
    int right = 2;  // 0 keeps `left` alone
};

class Arguments;

// The pick a --channels value names; nothing when it is none of the forms above.
std::optional<ChannelPick> readChannelPick(const std::string& text);

// The pick convert's --channels gives (the first two channels without it), or nothing after
// telling err that the value is bad usage.
std::optional<ChannelPick> channelPickOf(const Arguments& args, std::ostream& err);

}  // namespace brenvik::cli
