#include "Preferences.h"

#include "Numbers.h"
#include "RoutineError.h"

namespace brenvik {

namespace {

using namespace settingkey;

// A hand-edited store may hold anything; nothing at start-up could recover from a bad number,
// so it reads as the default.
int16_t storedNumber(Platform& platform, const char* key, int16_t defaultValue) {
    const std::string text = platform.readSetting(kSection, key, intToText(defaultValue));
    try {
        return textToInt16(text);
    } catch (const RoutineError&) {
        return defaultValue;
    }
}

}  // namespace

Preferences readPreferences(Platform& platform) {
    const Preferences defaults;
    Preferences p;
    p.loopFolder = platform.readSetting(kSection, kLoopFolder, defaults.loopFolder);
    p.waveFolder = platform.readSetting(kSection, kWaveFolder, defaults.waveFolder);
    p.crossfadeMs = storedNumber(platform, kCrossfade, defaults.crossfadeMs);
    p.autoIncrement = storedNumber(platform, kAutoIncrement, 1) != 0;
    return p;
}

void writePreferences(Platform& platform, const Preferences& p) {
    platform.writeSetting(kSection, kLoopFolder, p.loopFolder);
    platform.writeSetting(kSection, kWaveFolder, p.waveFolder);
    platform.writeSetting(kSection, kAutoIncrement, p.autoIncrement ? "1" : "0");
    platform.writeSetting(kSection, kCrossfade, intToText(p.crossfadeMs));
}

}  // namespace brenvik
