#include "StartupPreferences.h"

#include "AppGlobals.h"
#include "Numbers.h"
#include "Platform.h"
#include "RoutineError.h"

namespace brenvik {

int16_t storedInt16(const std::string& text, const char* defaultText) {
    try {
        return textToInt16(text);
    } catch (const RoutineError&) {
        return textToInt16(defaultText);
    }
}

void readPreferences(AppGlobals& globals, Platform& platform) {
    globals.initLoopDir = platform.readSetting(kSettingsSection, kKeyLoopDir, Platform::defaultRoot());
    globals.initWaveDir = platform.readSetting(kSettingsSection, kKeyWaveDir, Platform::defaultRoot());
    globals.crossfadeMs = storedInt16(
        platform.readSetting(kSettingsSection, kKeyCrossfade, kDefaultCrossfade), kDefaultCrossfade);
    globals.autoIncrement =
        storedInt16(platform.readSetting(kSettingsSection, kKeyAutoIncrement, kDefaultAutoIncrement),
                    kDefaultAutoIncrement);
}

}  // namespace brenvik
