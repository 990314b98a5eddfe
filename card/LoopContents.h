#pragma once
// What one loop folder holds, read without touching the audio: its files and their sizes, the
// 16384-byte loopinfo.ldf and the 44-byte header of each track file. Listing and checking a card
// work from this alone, so a card of 999 loops is read in a moment.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CardFolder.h"
#include "LoopDescription.h"
#include "TrackFile.h"
#include "WaveHeader.h"

namespace brenvik {
class Files;
}

namespace brenvik::card {

struct TrackFileHead {
    std::string path;  // as the card names it (track1.wav, or TRACK1.WAV)
    bool isLink = false;
    int64_t fileSize = 0;   // -1 when the file could not be read
    std::string unreadable;  // then the system's reason; empty otherwise
    wave::Header header{};  // zero bytes where the file is shorter than a header
};

struct LoopContents {
    int number = 0;          // from the folder's name; 0 when the name is no loop name
    std::string folder;
    std::string name;        // the folder's name, such as LOOP7
    bool readable = true;    // false when the folder itself could not be read
    std::string unreadable;  // then the system's reason; empty otherwise
    bool isLink = false;     // the folder is a link
    std::vector<std::string> twins;  // the card's other entries of its number, names in another case
    int64_t sizeOnDisk = 0;  // bytes of the files in the folder
    std::optional<int64_t> descriptionSize;     // nothing when loopinfo.ldf is missing
    std::string descriptionPath;                // as the card names it
    bool descriptionIsLink = false;
    bool descriptionReadable = false;
    std::string descriptionUnreadable;          // why a loopinfo.ldf present could not be read
    loop::Description description{};            // zero-filled past a short file's end
    std::array<std::optional<TrackFileHead>, loop::kTrackFiles> tracks;  // track1.wav .. track4.wav
    // What the loop library compares with its cache to know the loop's content without reading
    // it; nothing when the folder was not listed by the card (see library::loopFingerprintOf).
    std::optional<std::string> fingerprint;

    bool hasDescription() const { return descriptionSize && descriptionReadable; }
};

// Finds the files in any letter case (a FAT card does not tell TRACK1.WAV from track1.wav); of
// two that differ only in case, the one named as the Repeater names it. Never throws: what cannot
// be read is left empty (readable, descriptionReadable false), with the system's reason.
LoopContents readLoopContents(const Files& files, const std::string& folder);
// The same for a folder as the card lists it, with its twins.
LoopContents readLoopContents(const Files& files, const LoopFolder& folder);

}  // namespace brenvik::card
