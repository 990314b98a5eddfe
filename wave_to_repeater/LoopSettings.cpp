#include "LoopSettings.h"

#include <algorithm>

namespace brenvik {

BarChoices barChoices(int32_t beats) {
    BarChoices choices{};
    for (int b = 1; b <= kLongestBar; ++b)
        if (beats % b == 0) choices[static_cast<size_t>(b - 1)] = beats / b;
    return choices;
}

std::optional<int16_t> nextBeatsPerBar(const BarChoices& choices, int16_t current) {
    if (std::all_of(choices.begin(), choices.end(), [](int32_t bars) { return bars == 0; })) return std::nullopt;
    int16_t next = current;
    do {
        next = static_cast<int16_t>(next + 1);
        if (next > kLongestBar || next < 1) next = 1;
    } while (choices[static_cast<size_t>(next - 1)] == 0);
    return next;
}

int16_t divisionFor(int16_t beatsPerBar) { return beatsPerBar > 5 ? 8 : 4; }

}  // namespace brenvik
