#pragma once
// The texts the Repeater-to-wave window shows, word for word.
namespace brenvik::r2w {

inline constexpr const char* kLdfElsewhere =
    "Repeater's .ldf and .wav files must reside in the same directory";
inline constexpr const char* kTrackMissing = "File does not exist!";
inline constexpr const char* kInvalidTrack = "Invalid or Untrimmed Repeater File";
inline constexpr const char* kNothingLoaded = "No Repeater files loaded";
inline constexpr const char* kNoLeftTrack = "No Repeater file loaded in Left channel";
inline constexpr const char* kNoRightTrack = "No Repeater file loaded in Right channel";
inline constexpr const char* kOverwriteQuestion = "File already exists. Overwrite?";
inline constexpr const char* kWriteSucceeded = "File writing successful";
inline constexpr const char* kSaveFailed = "error in fileSaving()";

// Both file dialogs of the window offer wave files only.
inline constexpr const char* kWaveExtension = ".wav";
inline constexpr const char* kWaveFilter = ".wav files (*.wav)|*.wav";

}  // namespace brenvik::r2w
