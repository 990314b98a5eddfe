// The audio converter's input side: the input is a WAV (RIFF, RIFX, RF64), AIFF/AIFC or FLAC file
// (other inputs are skipped, as they would test the audio library alone), probed and, when the
// length it claims is small enough to keep each run short, converted into a wave. A source of
// more than two channels is also summed to mono and its last channel picked alone.
//
// Invariants: no crash, no hang, no allocation from a size field; a length that is a count (a
// FLAC stream's unrecorded length is counted, never taken as the largest number); a refusal says
// why and leaves no file behind; an unchanged copy holds the source's bytes; a converted wave is a
// 44.1 kHz 16-bit PCM wave of the chosen channels with a canonical header and exactly its data
// behind it, never longer than the source's length at 44.1 kHz nor than its bytes can hold, and it
// reads back as needing no converting.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "AudioConversion.h"
#include "AudioInfo.h"
#include "ByteSource.h"
#include "Files.h"
#include "ScratchFolder.h"
#include "WaveHeader.h"

namespace {

namespace fs = std::filesystem;
using namespace brenvik;

// At most this many samples are read and written per conversion: about 12 s of stereo.
constexpr int64_t kMostSamples = int64_t{1} << 20;
// No file holds more frames than this per byte of it: the densest, a FLAC frame of constant
// samples, holds 65535 in at least 9 bytes.
constexpr int64_t kMostFramesPerByte = 8192;
// The probe holds lengths below this; libsndfile's "unknown" (its largest count) would reach it.
constexpr int64_t kBeyondAnyLength = int64_t{1} << 53;

std::vector<uint8_t> contentsOf(const fs::path& path) {
    FileSource file(path.string());
    std::vector<uint8_t> bytes(static_cast<size_t>(file.size()));
    if (file.readAt(0, bytes) != bytes.size()) std::abort();
    return bytes;
}

void convertOnce(const fs::path& source, const ChannelChoice& choice, std::span<const uint8_t> input,
                 const fs::path& target) {
    Files files;
    const ConversionResult result = convertAudio({source.string(), target.string(), choice}, files, {});
    if (result.outcome == ConversionResult::Outcome::Failed) {
        if (result.message.empty() || fs::exists(target) || fs::exists(target.string() + ".partial")) std::abort();
        return;
    }
    const std::vector<uint8_t> written = contentsOf(target);
    const AudioProbe back = probeAudio(target.string());
    fs::remove(target);
    if (result.outcome == ConversionResult::Outcome::Copied) {
        if (!std::equal(written.begin(), written.end(), input.begin(), input.end())) std::abort();
        return;
    }
    const AudioInfo& info = *result.source;
    const auto inputFrames = static_cast<double>(kMostFramesPerByte) * static_cast<double>(input.size());
    const double mostFrames = inputFrames * wave::kSampleRate / info.sampleRate + 1;
    const int64_t dataSize = result.frames * 2 * info.loopChannels;
    const wave::Header header =
        wave::canonicalHeader(static_cast<int16_t>(info.loopChannels), static_cast<int32_t>(dataSize));
    if (result.frames < 0 || result.frames > info.loopFrames || static_cast<double>(result.frames) > mostFrames ||
        static_cast<int64_t>(written.size()) != wave::kHeaderSize + dataSize ||
        !std::equal(header.begin(), header.end(), written.begin()))
        std::abort();
    if (!back.info || back.info->needsConverting || back.info->frames != result.frames) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzz::ScratchFolder scratch;
    const std::string_view magic(reinterpret_cast<const char*>(data), std::min<size_t>(size, 4));
    if (magic != "RIFF" && magic != "RIFX" && magic != "RF64" && magic != "FORM" && magic != "fLaC") return 0;
    const fs::path source = scratch.path() / "source";
    const fs::path target = scratch.path() / "converted.wav";
    fuzz::ScratchFolder::write(source, {data, size});

    const AudioProbe probe = probeAudio(source.string());
    if (!probe.info) {
        if (probe.message.empty()) std::abort();
        return 0;
    }
    const AudioInfo& info = *probe.info;
    if (info.sampleRate < 1 || info.channels < 1 || info.frames < 0 || info.frames >= kBeyondAnyLength ||
        info.loopFrames < 0 || (info.loopChannels != 1 && info.loopChannels != 2))
        std::abort();
    if (info.loopFrames > kMostSamples / info.loopChannels || info.frames > kMostSamples / info.channels) return 0;
    convertOnce(source, {}, {data, size}, target);
    if (info.channels > 2) {
        convertOnce(source, {ChannelChoice::Mix::MonoSum, 1, 0}, {data, size}, target);
        convertOnce(source, {ChannelChoice::Mix::Pick, info.channels, 0}, {data, size}, target);
    }
    return 0;
}
