#pragma once
// Whether loops fit on a card, checked in two ways, in this order: by bytes, the files' sizes and
// a margin against the free bytes, the loops they replace counting as free (the check every save
// has always made, with its message); then as the card counts them, every file rounded up to whole
// blocks of the card (a FAT cluster) and a block for each folder. Every writer of loops asks here.
#include <cstdint>
#include <optional>
#include <string>

#include "Files.h"

namespace brenvik::card {

struct RoomNeeded {
    bool severalLoops = false;
    int64_t bytes = 0;        // the files' bytes and the margin
    int64_t bytesFreed = 0;   // the bytes of the loops they replace
    int64_t blocks = 0;       // the files and folders in whole blocks of the card, in bytes
    int64_t blocksFreed = 0;  // what the loops they replace take so, when they leave first
};

// Adds a file of `size` bytes to what is needed on a card of blocks of `block` bytes.
void addFile(RoomNeeded& room, int64_t size, int64_t block);
// Adds a loop folder (its own block) to what is needed.
void addFolder(RoomNeeded& room, int64_t block);

// What the files of a loop folder take on the card in whole blocks, and a block for the folder.
// Throws RoutineError when it cannot be read.
int64_t folderRoom(const Files& files, const std::string& folder, int64_t block);

// Why the loops do not fit ("the loop takes 73728 bytes as the card counts them (whole blocks of
// 4096 bytes); 65536 are free besides the 8192 of the loop it replaces"); nothing when they do.
std::optional<std::string> lackOfRoom(const RoomNeeded& room, int64_t freeBytes, int64_t block);

}  // namespace brenvik::card
