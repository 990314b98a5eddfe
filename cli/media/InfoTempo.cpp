// brenvik-cli info as its companion runs it: the same description, with the tempo found in a
// wave's audio.
#include "InfoWave.h"
#include "MediaCommands.h"
#include "WaveTempo.h"

namespace brenvik::cli::media {

int runInfo(const Arguments& args, std::ostream& out, std::ostream& err, bool) {
    return cli::runInfo(args, out, err, tempo::estimateWaveTempo);
}

}  // namespace brenvik::cli::media
