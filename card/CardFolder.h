#pragma once
// The loop folders of a card, as the Repeater and a FAT card see them: every entry named "LOOP"
// and a loop number 1 to 999 in plain decimal (LOOP7, not LOOP007), letters in any case (LOOP7,
// loop7 and Loop7 are one name on FAT), in loop-number order. Other folders and files are not
// loops. Every reader and writer of a card asks these which folders hold which loops.
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Files.h"

namespace brenvik::card {

struct LoopFolder {
    int number = 0;
    std::string path;  // the card's path, "/" and the folder's name
    // A link (to a folder, or leading nowhere): listed, so that it is seen, but the Repeater
    // reads only real folders.
    bool isLink = false;
    // The names of the card's other entries of this number (names that differ only in case): on
    // a FAT card they are one name, and the Repeater finds only one of them.
    std::vector<std::string> twins;
    FolderEntry entry;  // as the card's folder listed it; nothing looked at for a folder named alone
};

// The loop folders directly inside card (folders, and links to anything), lowest number first
// and of one number by name. Throws RoutineError when the card folder cannot be read.
std::vector<LoopFolder> loopFoldersIn(const Files& files, const std::string& card);

// Every entry of the card whose name is LOOPn in any case, whatever it is, by name: more than one
// means the number is held twice. Throws RoutineError when the card folder cannot be read.
std::vector<std::string> loopFoldersNamed(const Files& files, const std::string& card, int number);

// The one loop folder of the card holding `number`, in whatever case the card names it; nothing
// when none does. Throws RoutineError when the card cannot be read, and when two entries hold the
// number (names that differ only in case), saying so: no change may pick one of them.
std::optional<std::string> loopFolderHolding(const Files& files, const std::string& card, int number);

// The lowest loop number that no loop folder of the card holds in any case and that is not
// `taken`; nothing when all are. A card that cannot be read (or does not exist yet) holds none.
std::optional<int> lowestFreeLoop(const Files& files, const std::string& card, const std::set<int>& taken = {});

// Whether path is itself one loop folder, not a card of loops: named as a loop, or holding a
// loopinfo.ldf.
bool isOneLoop(const std::string& path);

// The loops a path names: itself when it is one loop (with its twins beside it, when its card
// can be read), else the card's loop folders. Throws RoutineError when a card folder cannot be
// read.
std::vector<LoopFolder> loopFoldersOf(const Files& files, const std::string& path);

// One loop folder of a card and what it holds, or why that could not be read.
struct LoopFolderEntries {
    LoopFolder folder;
    std::vector<FolderEntry> entries;  // by name
    std::string unreadable;            // the reason; empty when the folder was read
};

// Every loop folder of the card with its entries, read one by one: a folder that cannot be read is
// kept with its reason and the others are read all the same. Throws RoutineError only when the
// card folder itself cannot be read.
std::vector<LoopFolderEntries> readLoopFolders(const Files& files, const std::string& card);

}  // namespace brenvik::card
