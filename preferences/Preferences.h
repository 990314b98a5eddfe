#pragma once
// The preferences, kept in the per-user settings store under section "Startup". They are read
// once at start-up and written only by the Preferences dialog's OK.
#include <cstdint>
#include <string>

#include "Files.h"
#include "SettingsStore.h"

namespace brenvik {

struct Preferences {
    std::string loopFolder = Files::defaultRoot();     // where loops are looked for and written
    std::string waveFolder = Files::defaultRoot();     // where wave files are opened and saved
    int16_t crossfadeMs = 45;                          // stored and shown only
    bool autoIncrement = true;                         // pick the next free loop number
    // Write the tempo the wave-to-Repeater window shows, not the one of beats per bar x
    // (beats - 1) that the Repeater's loops have always been given.
    bool tempoAsShown = false;
    // Files written to a card are read back from the device and compared before they take their
    // loop numbers; off for a card reader too slow to read everything twice.
    bool readBack = true;
    // An accepted wave opens at the beat count of the tempo found in its audio, four beats to the
    // bar where they divide, instead of half the beats the tempo bar offers.
    bool guessBeats = true;
    // The names of a card's loops kept in a file on the card too, read when the Card window opens
    // it and written after each change the window makes.
    bool namesOnCard = false;
};

namespace settingkey {
inline constexpr const char* kSection = "Startup";
inline constexpr const char* kLoopFolder = "intLP";
inline constexpr const char* kWaveFolder = "intWV";
inline constexpr const char* kCrossfade = "intCF";
inline constexpr const char* kAutoIncrement = "intAI";
inline constexpr const char* kTempoAsShown = "intTS";
inline constexpr const char* kReadBack = "intRB";
inline constexpr const char* kGuessBeats = "intGB";
inline constexpr const char* kNamesOnCard = "intNC";
}  // namespace settingkey

// Each key that is absent (or not a whole 16-bit number, for the two numbers) gives its default.
Preferences readPreferences(SettingsStore& store);
// Writes intLP, intWV, intAI, intCF, intTS, intRB, intGB and intNC, in that order. Throws RoutineError when the store
// fails.
void writePreferences(SettingsStore& store, const Preferences& preferences);

}  // namespace brenvik
