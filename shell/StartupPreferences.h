#pragma once
// The four preferences in the per-user settings store (section Startup) and how they are read
// into the program's globals at start-up.
#include <cstdint>
#include <string>

namespace brenvik {

struct AppGlobals;
class Platform;

inline constexpr const char* kSettingsSection = "Startup";
inline constexpr const char* kKeyLoopDir = "intLP";     // initLoopDir
inline constexpr const char* kKeyWaveDir = "intWV";     // initWaveDir
inline constexpr const char* kKeyCrossfade = "intCF";   // crossfadeMs
inline constexpr const char* kKeyAutoIncrement = "intAI";  // autoIncrement
inline constexpr const char* kDefaultCrossfade = "45";
inline constexpr const char* kDefaultAutoIncrement = "1";

// A stored number as a 16-bit value; a text that is not a whole number in the 16-bit range
// (a hand-edited store) gives the default instead, since nothing at start-up could recover.
int16_t storedInt16(const std::string& text, const char* defaultText);

// Reads intLP, intWV, intCF and intAI into initLoopDir, initWaveDir, crossfadeMs and
// autoIncrement, each with its default when the key is absent. Writes nothing back.
void readPreferences(AppGlobals& globals, Platform& platform);

}  // namespace brenvik
