// brenvik-cli convert and play: their tables, read and checked here like every command's; the
// companion program runs them (Companion.h).
#include "Arguments.h"
#include "ChannelPick.h"
#include "Cli.h"
#include "Commands.h"
#include "Companion.h"

namespace brenvik::cli {

namespace {

constexpr int kMostPasses = 10000;
constexpr int kGainDecimals = 2;     // --gain is held in hundredths of a dB
constexpr int kLowestGain = -6000;  // -60 dB

// A --channels value that is no pick is bad usage, told before the companion runs.
int handOverConvert(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal) {
    if (!channelPickOf(args, err)) return kUsage;
    return runInCompanion(args, out, err, errIsTerminal);
}

constexpr Positional kConvertPositionals[] = {
    {"IN", Count::One, "an audio file: WAV (any width, float, extensible), AIFF, AIFC or FLAC"},
    {"OUT", Count::One, "the 44.1 kHz 16-bit wave file to write"}};
constexpr Option kConvertOptions[] = {
    Option::flag("--overwrite", "replaces an existing OUT"),
    Option::text("--channels", "PICK", 0,
                 "for IN of more than two channels: K,K two of them as left and right, K one as mono, or sum "
                 "all of them as mono; default 1,2"),
    Option::number("--gain", "DB", kLowestGain, 0,
                   "lowers the level by DB (a negative number) before the reduction to 16 bits; default 0",
                   kGainDecimals),
    Option::flag("--fit", "lowers the level by what its peak lies beyond full scale, so that nothing clips"),
};

constexpr Positional kPlayPositionals[] = {
    {"PATH", Count::One, "a 44.1 kHz 16-bit wave file, a loop's track file or a loop folder"}};
constexpr Option kPlayOptions[] = {
    Option::number("--times", "N", 1, kMostPasses, "plays it N times round, without a gap; default 1")};

}  // namespace

constinit const Command kConvertCommand{
    "convert",
    "Converts IN into a 44.1 kHz 16-bit wave, as the Repeater plays it: resampled, reduced to 16 bits with "
    "dither, mono or stereo. A 44.1 kHz 16-bit wave is copied unchanged (unless --gain is given). NaN and infinite "
    "samples become 0, with a warning. Samples clipped are counted, with the peak above full scale. A result longer "
    "than a loop can hold is named, with the longest that fits, and written all the same.",
    kConvertPositionals, kConvertOptions, handOverConvert};

constinit const Command kPlayCommand{
    "play",
    "Plays a wave, a track or a loop through the audio output, as the Repeater loops it, and ends; Ctrl+C stops "
    "it (exit status 130).",
    kPlayPositionals, kPlayOptions, runInCompanion};

}  // namespace brenvik::cli
