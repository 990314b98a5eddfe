#pragma once
// The names of a card's loops kept on the card itself, so that they travel with it to another
// computer: one small UTF-8 text file at the card's root, "BRENVIK.TXT" (a name the Repeater does
// not read as a loop, and one that fits FAT's 8.3 names). Its first line says what it is:
//
//   Brenvik loop names 1
//
// and every other line holds one loop: its content hash (32 hexadecimal digits), a tab, its name
// and, after another tab, its notes; "\\", "\t", "\n" and "\r" in a name or notes stand for a
// backslash, a tab, a line break and a carriage return. Lines starting with "#" and empty lines
// are passed over. A line that cannot be read is skipped and counted, never more.
//
// Reading gives the library the names (and notes) of loops it knows no name (notes) of: a name
// given on this computer wins over the card's. Writing is a change of the card like any other: it
// goes through the card's transaction under the card's lock, so the card holds the old file or the
// new one, whatever interrupts it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Files.h"
#include "LoopLibrary.h"

namespace brenvik::card {

inline constexpr const char* kNamesFileName = "BRENVIK.TXT";
// A card's loops take a few kilobytes; anything far larger is not a names file to trust.
inline constexpr size_t kLargestNamesFile = 1 << 20;

// One loop of the file.
struct LoopNameLine {
    std::string hash;
    std::string name;
    std::string notes;
    bool operator==(const LoopNameLine&) const = default;
};

struct NamesFileContents {
    std::vector<LoopNameLine> loops;
    int skipped = 0;  // lines that could not be read
};

std::string namesFileText(const std::vector<LoopNameLine>& loops);
// Nothing when the first line is not that of a names file this program reads.
std::optional<NamesFileContents> readNamesFileText(std::string_view text);

// What reading or writing the names file did: the one line said about it, or why it failed.
struct NamesFileOutcome {
    int names = 0;    // names read into the library, or written to the card
    int kept = 0;     // names the file gave loops already named here
    int skipped = 0;  // lines of the file that could not be read
    bool found = true;       // whether the card holds a names file (reading)
    std::string recovered;   // a change an earlier program left, finished or taken back first
    std::string line;        // what was done; empty when it failed
    std::string message;     // why nothing was done; empty when it was
    std::string reason;
};

// Reads `card`'s names file into `library`.
NamesFileOutcome readNamesFromCard(const std::string& card, library::LoopLibrary& library, const Files& files);
// Writes the names `library` holds for `card`'s loops to its names file, reading the loops'
// hashes where they are not known. `onlyWhenChanged`: a file that already says the same is left.
NamesFileOutcome writeNamesToCard(const std::string& card, library::LoopLibrary& library, Files& files,
                                  bool onlyWhenChanged = false);

}  // namespace brenvik::card
