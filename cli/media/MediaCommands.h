#pragma once
// brenvik-cli-media, brenvik-cli's companion: the same command tables, with the commands that
// play, convert or find the tempo of audio, and eject, run here, where the audio libraries and Qt D-Bus are linked (../Companion.h says why).
#include <ostream>
#include <string>
#include <vector>

namespace brenvik::cli {

class Arguments;

namespace media {

// As cli::run reads and runs brenvik-cli's command lines; args excludes the program name.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal = false);

// The commands run here.
int runInfo(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal);
int runConvert(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal);
int runPlay(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal);
int runToLoop(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal);
int runEject(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal);

}  // namespace media
}  // namespace brenvik::cli
