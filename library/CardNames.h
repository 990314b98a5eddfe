#pragma once
// The names of the loops on one card: each loop folder's content hash, taken from the library's
// cache while the folder's files are unchanged and read otherwise, and the record the library
// holds for that content. A loop the library has no record of, or one that cannot be read, has
// no name; nothing here ever fails a listing.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "LoopContentHash.h"
#include "LoopLibrary.h"

namespace brenvik::library {

// What the library knows of one loop folder.
struct NamedLoop {
    std::optional<std::string> hash;    // nothing while not read yet, or when unreadable
    std::optional<LoopRecord> record;   // nothing for a loop without a name, source or notes
    std::string failure;                // why it has no hash, when it was read and has none

    std::string name() const { return record ? record->name : std::string(); }
    std::string notes() const { return record ? record->notes : std::string(); }
};

// A loop folder read for its hash away from the library (on a worker thread, say): what the
// system said of its files before the read, and the hash.
struct HashedFolder {
    std::string folder;
    std::optional<std::string> fingerprint;
    ContentHash hash;
};
// `before`: the folder's fingerprint as a listing saw it a moment ago, when there is one.
HashedFolder hashLoopFolder(const std::string& folder, std::optional<std::string> before = std::nullopt);

// A loop folder as a listing of the card saw it: with its fingerprint, when the listing could
// tell it (see loopFingerprintOf), its files need not be looked at again.
struct SeenFolder {
    std::string folder;
    std::optional<std::string> fingerprint;
};

class CardNames {
public:
    // `card` is the folder that holds the loop folders (its volume is found from it).
    CardNames(LoopLibrary& library, const std::string& card);

    LoopLibrary& library() { return m_library; }

    // What is known without reading any audio: the folders whose files are unchanged since they
    // were last read have their hash and record; the others have neither.
    std::map<std::string, NamedLoop> known(const std::vector<std::string>& folders);
    std::map<std::string, NamedLoop> known(const std::vector<SeenFolder>& folders);
    // Keeps hashes read elsewhere in the cache and gives the folders with their records.
    std::map<std::string, NamedLoop> remember(const std::vector<HashedFolder>& hashed);
    // Both: reads here and now each folder not known. `progress` is told of each folder read
    // (how many so far, of how many to read).
    std::map<std::string, NamedLoop> all(const std::vector<std::string>& folders,
                                         const std::function<void(int, int)>& progress = {});
    std::map<std::string, NamedLoop> all(const std::vector<SeenFolder>& folders,
                                         const std::function<void(int, int)>& progress = {});
    // One folder, read when not known.
    NamedLoop of(const std::string& folder);

    // A loop just written from `sourcePath`: its record names it after the source file (without
    // the extension), with the source's path and hash, the time, and the tempo found in it. Notes
    // an identical loop had are kept. Gives the loop's hash, nothing when it cannot be read.
    std::optional<std::string> nameWritten(const std::string& loopFolder,
                                           const std::string& sourcePath,
                                           std::optional<double> tempoFound = std::nullopt);

private:
    // Where a folder is on its volume, as the cache knows it.
    std::string keyOf(const std::string& folder) const;
    std::string keyOfPath(const std::string& folder) const;
    // The folders given, each with the record the library holds for its hash, read at once.
    std::map<std::string, NamedLoop> withRecords(std::map<std::string, NamedLoop> named);

    LoopLibrary& m_library;
    std::string m_volume;
    std::string m_mountPoint;
    std::string m_card;
    std::string m_cardKey;
};

// The name of loop `number` of the card at `card`, "" when it has none, each loop read once at
// most: for texts that speak of a card's loops by number.
std::function<std::string(int number)> loopNamer(LoopLibrary& library, const std::string& card);

}  // namespace brenvik::library
