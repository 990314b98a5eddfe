#include "ChannelPick.h"

#include <cstdint>

#include "ArgumentReader.h"
#include "Arguments.h"
#include "CommandHelp.h"
#include "Commands.h"
#include "Messages.h"
#include "NumberText.h"

namespace brenvik::cli {

namespace {

constexpr int64_t kMostChannels = 65535;  // far more than any audio file holds

std::optional<int> readChannel(const std::string& text) {
    const std::optional<int64_t> number = readNumber(text, 0);
    if (!number || *number < 1 || *number > kMostChannels) return std::nullopt;
    return static_cast<int>(*number);
}

}  // namespace

std::optional<ChannelPick> readChannelPick(const std::string& text) {
    if (text == "sum") return ChannelPick{true, 1, 0};
    const size_t comma = text.find(',');
    const auto left = readChannel(text.substr(0, comma));
    if (!left) return std::nullopt;
    if (comma == std::string::npos) return ChannelPick{false, *left, 0};
    const auto right = readChannel(text.substr(comma + 1));
    if (!right) return std::nullopt;
    return ChannelPick{false, *left, *right};
}

std::optional<ChannelPick> channelPickOf(const Arguments& args, std::ostream& err) {
    const std::optional<std::string> text = args.text("--channels");
    if (!text) return ChannelPick{};
    const std::optional<ChannelPick> pick = readChannelPick(*text);
    if (!pick)
        badUsage(err, kConvertCommand,
                 message::optionSays("--channels", message::notAChannelPick(quoted(*text))));
    return pick;
}

}  // namespace brenvik::cli
