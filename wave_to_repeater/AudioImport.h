#pragma once
// The one way any audio file becomes a wave the loop writer takes, for the wave-to-Repeater
// window's Import, the Card window's drops and to-loop --convert alike: what the file is, whether
// it can become a loop (one too long is refused before anything is converted), and its converted
// copy with what the conversion did to the level. Every later step (the tempo, the writing) is the
// one a wave of the Repeater's own goes through.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "AudioInfo.h"
#include "CallerHooks.h"
#include "Files.h"
#include "Interaction.h"

namespace brenvik {

struct AudioImport {
    enum class Outcome {
        AsItIs,           // a 44.1 kHz 16-bit PCM wave: opened as it is, byte for byte
        NeedsConverting,  // examined: it fits a loop once converted
        Converted,        // `wave` is its converted copy (in the cache or a scratch folder)
        Refused,          // too long for a loop: nothing was converted
        Failed,           // unreadable (no `info`), or the conversion failed
    };
    Outcome outcome = Outcome::Failed;
    std::string source;
    std::string wave;  // what the window opens: the source itself, or its converted copy
    std::optional<AudioInfo> info;
    std::string message;  // for a refusal or failure, with its icon and the reason below it
    MessageIcon icon = MessageIcon::None;
    std::string reason;   // of a failure: the converter's own sentence
    // Of a conversion: the NaN and infinite samples read as 0, the samples clipped, their peak
    // (dB of full scale) and how far the level would have to go down for nothing to clip; and the
    // gain applied.
    int64_t nonFinite = 0, clipped = 0;
    double peakDb = 0, excessDb = 0, gainDb = 0;

    // The converter could not read it: the wave opener is left to say why in its own words.
    bool unreadable() const { return !info; }
};

// What the file is: AsItIs, NeedsConverting, Refused or Failed.
AudioImport examineImport(const std::string& source);

// Converts an examined file that needs it into the wave `target` (in a cache or scratch folder),
// its level lowered by `-gainDb`: Converted or Failed.
AudioImport convertImportTo(const AudioImport& examined, const std::string& target, Files& files,
                            const Progress& progress, double gainDb = 0);

// As convertImportTo, into the cache folder (made when missing, and cleared of old waves first,
// except `keep`, the wave the window has open).
AudioImport convertImport(const AudioImport& examined, Files& files, const std::string& keep,
                          const Progress& progress, double gainDb = 0);

// The names of the files an import takes (a drop of any other is refused), those of them the Open
// command takes, and the list of types of the import's file dialog.
bool isImportableName(const std::string& path);
bool isWaveName(const std::string& path);
std::vector<FileFilter> importFilters();

}  // namespace brenvik
