#include "Preferences.h"

#include "Numbers.h"
#include "RoutineError.h"

namespace brenvik {

namespace {

using namespace settingkey;

// A hand-edited store may hold anything; nothing at start-up could recover from a bad number,
// so it reads as the default.
int16_t storedNumber(SettingsStore& store, const char* key, int16_t defaultValue) {
    const std::string text = store.readSetting(kSection, key, intToText(defaultValue));
    try {
        return textToInt16(text);
    } catch (const RoutineError&) {
        return defaultValue;
    }
}

}  // namespace

Preferences readPreferences(SettingsStore& store) {
    const Preferences defaults;
    Preferences p;
    p.loopFolder = store.readSetting(kSection, kLoopFolder, defaults.loopFolder);
    p.waveFolder = store.readSetting(kSection, kWaveFolder, defaults.waveFolder);
    p.crossfadeMs = storedNumber(store, kCrossfade, defaults.crossfadeMs);
    p.autoIncrement = storedNumber(store, kAutoIncrement, 1) != 0;
    p.tempoAsShown = storedNumber(store, kTempoAsShown, 0) != 0;
    p.readBack = storedNumber(store, kReadBack, 1) != 0;
    p.guessBeats = storedNumber(store, kGuessBeats, 1) != 0;
    p.namesOnCard = storedNumber(store, kNamesOnCard, 0) != 0;
    return p;
}

void writePreferences(SettingsStore& store, const Preferences& p) {
    store.writeSetting(kSection, kLoopFolder, p.loopFolder);
    store.writeSetting(kSection, kWaveFolder, p.waveFolder);
    store.writeSetting(kSection, kAutoIncrement, p.autoIncrement ? "1" : "0");
    store.writeSetting(kSection, kCrossfade, intToText(p.crossfadeMs));
    store.writeSetting(kSection, kTempoAsShown, p.tempoAsShown ? "1" : "0");
    store.writeSetting(kSection, kReadBack, p.readBack ? "1" : "0");
    store.writeSetting(kSection, kGuessBeats, p.guessBeats ? "1" : "0");
    store.writeSetting(kSection, kNamesOnCard, p.namesOnCard ? "1" : "0");
}

}  // namespace brenvik
