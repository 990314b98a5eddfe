#include "NumberText.h"

#include <algorithm>

namespace brenvik::cli {

namespace {

constexpr int64_t kBeyondEveryRange = 1'000'000'000'000;

int64_t unitsPerWhole(int decimals) {
    int64_t units = 1;
    for (int i = 0; i < decimals; ++i) units *= 10;
    return units;
}

}  // namespace

std::optional<int64_t> readNumber(std::string_view text, int decimals) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? "" : text.substr(point + 1);
    if (point != std::string_view::npos && (fraction.empty() || fraction.size() > size_t(decimals)))
        return std::nullopt;
    if (whole.empty() && fraction.empty()) return std::nullopt;
    int64_t value = 0;
    for (const std::string_view digits : {whole, fraction})
        for (const char c : digits) {
            if (c < '0' || c > '9') return std::nullopt;
            value = std::min(value * 10 + (c - '0'), kBeyondEveryRange);
        }
    value = std::min(value * unitsPerWhole(decimals - int(fraction.size())), kBeyondEveryRange);
    return negative ? -value : value;
}

std::string numberText(int64_t value, int decimals) {
    const int64_t units = unitsPerWhole(decimals);
    const int64_t magnitude = value < 0 ? -value : value;
    std::string text = (value < 0 ? "-" : "") + std::to_string(magnitude / units);
    if (magnitude % units != 0) {
        std::string fraction =
            std::to_string(magnitude % units + units).substr(1);  // leading zeros kept
        fraction.erase(fraction.find_last_not_of('0') + 1);
        text += '.' + fraction;
    }
    return text;
}

}  // namespace brenvik::cli
