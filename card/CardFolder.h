#pragma once
// The loop folders of a card: every folder named "LOOP" and a loop number 1 to 999 in plain
// decimal (LOOP7, not LOOP007), in loop-number order. Other folders and files are not loops.
#include <optional>
#include <string>
#include <vector>

namespace brenvik {
class Files;
}

namespace brenvik::card {

struct LoopFolder {
    int number = 0;
    std::string path;  // the card's path, "/" and the folder's name
};

// The loop folders directly inside card, lowest number first. Throws RoutineError when the
// folder cannot be read.
std::vector<LoopFolder> loopFoldersIn(const Files& files, const std::string& card);

// Whether path is itself one loop folder, not a card of loops: named as a loop, or holding a
// loopinfo.ldf.
bool isOneLoop(const std::string& path);

// The loops a path names: itself when it is one loop, else the card's loop folders. Throws
// RoutineError when a card folder cannot be read.
std::vector<std::string> loopFoldersOf(const Files& files, const std::string& path);

}  // namespace brenvik::card
