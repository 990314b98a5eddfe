#pragma once
// Writing a file where a loop may lie (convert, to-wave, export and the Repeater-to-wave window):
// the output must not be one of the files it is made from, and a file inside a loop folder (one
// holding loopinfo.ldf) is part of that loop, which goes into the backup store before anything of
// it changes, as it does before a save over a loop.
#include <optional>
#include <string>
#include <vector>

#include "Files.h"

namespace brenvik::backup {

// Whether `output` is one of `inputs`: the same file however the paths are written (the same
// device and inode, so a hard link too). An output that does not exist yet is none of them.
bool isOneOf(const std::string& output, const std::vector<std::string>& inputs, const Files& files);

// Backs up the loop whose folder holds `output`; nothing when that worked or no loop is there,
// else why not.
std::optional<std::string> backUpLoopAround(const std::string& output, Files& files);

}  // namespace brenvik::backup
