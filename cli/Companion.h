#pragma once
// The commands that play or convert audio (play, convert, to-loop --convert) or eject a card run in
// a companion program, brenvik-cli-media, which links the audio libraries (libsndfile, libsoxr, Qt
// Multimedia) and Qt D-Bus. brenvik-cli itself loads none of them, so its own conversions start as
// fast as a plain program. It reads and checks the command line first, so usage, help and bad usage read
// the same for every command, and then runs the companion in its place: the same process, the
// same streams, the same arguments.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brenvik::cli {

class Arguments;

inline constexpr const char* kCompanionName = "brenvik-cli-media";

// Where the companion may lie, in the order looked at: beside brenvik-cli in `ownFolder` (a build
// tree) and in the installed libexec folder, found relative to it so a moved installation works.
std::vector<std::string> companionPlaces(const std::string& ownFolder);

// The companion this program would run, or nothing when it is in none of its places. The
// commands that only add to what they print with it (the tempo found in a wave) run here
// without it.
std::optional<std::string> findCompanion();

// Runs the command line in the companion in place of this program. Returns only when it cannot
// (the companion is missing or cannot be started), after telling err why: kFailed.
int runInCompanion(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal);

}  // namespace brenvik::cli
