#include "CardRoom.h"

#include "LoopLayout.h"
#include "Numbers.h"

namespace brenvik::card {

void addFile(RoomNeeded& room, int64_t size, int64_t block) {
    room.bytes += size;
    room.blocks += loop::roomOnCard(size, block);
}

void addFolder(RoomNeeded& room, int64_t block) { room.blocks += block; }

int64_t folderRoom(const Files& files, const std::string& folder, int64_t block) {
    int64_t room = block;
    for (const FolderEntry& entry : files.listFolder(folder))
        if (entry.kind == FolderEntry::Kind::File) room += loop::roomOnCard(entry.size, block);
    return room;
}

std::optional<std::string> lackOfRoom(const RoomNeeded& room, int64_t freeBytes, int64_t block) {
    const std::string what = room.severalLoops ? "the loops" : "the loop";
    const auto besides = [&room](int64_t freed) {
        return freed ? " besides the " + intToText(freed) + " of the loop" + (room.severalLoops ? "s they replace" : " it replaces")
                     : std::string();
    };
    if (room.bytes > freeBytes + room.bytesFreed)
        return what + " need" + (room.severalLoops ? "" : "s") + " " + intToText(room.bytes) + " bytes; " +
               intToText(freeBytes) + " are free" + besides(room.bytesFreed);
    if (room.blocks > freeBytes + room.blocksFreed)
        return what + " take" + (room.severalLoops ? "" : "s") + " " + intToText(room.blocks) +
               " bytes as the card counts them (whole blocks of " + intToText(block) + " bytes); " +
               intToText(freeBytes) + " are free" + besides(room.blocksFreed);
    return std::nullopt;
}

}  // namespace brenvik::card
