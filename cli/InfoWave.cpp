#include "InfoWave.h"

#include <cmath>

#include "Messages.h"
#include "WaveVerdict.h"

namespace brenvik::cli {

namespace {

const char* endName(ChunkWalk::End end) {
    switch (end) {
    case ChunkWalk::End::Data: return "data";
    case ChunkWalk::End::EndOfFile: return "end of file";
    case ChunkWalk::End::Broken: return "broken";
    }
    return "broken";
}

const char* outcomeName(WaveVerdict::Outcome outcome) {
    switch (outcome) {
    case WaveVerdict::Outcome::Accepted: return "accepted";
    case WaveVerdict::Outcome::WrongRate:
    case WaveVerdict::Outcome::WrongBits: return "refused";
    case WaveVerdict::Outcome::WalkFailed:
    case WaveVerdict::Outcome::AcceptFailed: return "failed";
    }
    return "failed";
}

// The opener's message for its verdict: none when it accepts.
std::string verdictMessage(const WaveVerdict& v) {
    switch (v.outcome) {
    case WaveVerdict::Outcome::Accepted: return {};
    case WaveVerdict::Outcome::WrongRate: return message::wrongSampleRate(v.format.sampleRate);
    case WaveVerdict::Outcome::WrongBits: return message::wrongBitsPerSample(v.format.bitsPerSample);
    case WaveVerdict::Outcome::WalkFailed:
    case WaveVerdict::Outcome::AcceptFailed: break;
    }
    return message::kWaveOpenFailed;
}

InfoNode optionalInteger(bool present, long long value) {
    return present ? InfoNode::integer(value) : InfoNode();
}

// The data's length in time when its format says how many bytes a second holds.
InfoNode durationOf(const WaveVerdict& v, bool read) {
    const double bytesPerSecond = static_cast<double>(v.format.sampleRate) * v.format.channels * (v.format.bitsPerSample / 8);
    if (!read || bytesPerSecond <= 0 || v.walk.dataSize < 0) return InfoNode();
    return duration(v.walk.dataSize / bytesPerSecond);
}

// What the tempo finder finds in the wave: both members none when it finds nothing.
void describeTempo(InfoNode& wave, const std::optional<tempo::TempoEstimate>& found) {
    if (!found) {
        wave.set("tempoFound", InfoNode()).set("tempo", InfoNode());
        return;
    }
    InfoNode tempo = InfoNode::object();
    tempo.set("beatsPerMinute", InfoNode::real(found->beatsPerMinute))
        .set("beats", InfoNode::integer(found->beats))
        .set("beatsPerBar", InfoNode::integer(found->beatsPerBar()))
        .set("confidence", InfoNode::real(std::round(found->confidence * 100) / 100));
    wave.set("tempoFound", InfoNode::text(message::foundTempo(found->beatsPerMinute, found->beats)))
        .set("tempo", std::move(tempo));
}

}  // namespace

InfoNode describeWave(FileSource& file, const std::string& path, tempo::TempoFinder findTempo) {
    const WaveVerdict v = judgeWave(file);
    const std::string message = verdictMessage(v);
    const bool found = v.walk.end == ChunkWalk::End::Data;
    const bool read = found && v.outcome != WaveVerdict::Outcome::WalkFailed;

    InfoNode walk = InfoNode::object();
    walk.set("end", InfoNode::text(endName(v.walk.end)))
        .set("chunks", InfoNode::integer(v.walk.steps))
        // Without a "fmt " chunk before "data" the opener reads its fields at 9, 11 and 21.
        .set("fmtOffset", optionalInteger(v.walk.fmtOffset.has_value(), v.walk.fmtOffset.value_or(0)))
        .set("dataOffset", optionalInteger(found, v.walk.dataStart()))
        .set("dataSize", optionalInteger(found, v.walk.dataSize));

    InfoNode opener = InfoNode::object();
    opener.set("outcome", InfoNode::text(outcomeName(v.outcome)))
        .set("message", message.empty() ? InfoNode() : InfoNode::text(message))
        .set("maxBeats", optionalInteger(v.accepted(), v.maxBeats));

    InfoNode wave = InfoNode::object();
    wave.set("fileSize", InfoNode::integer(file.size()))
        .set("walk", std::move(walk))
        .set("channels", optionalInteger(read, v.format.channels))
        .set("sampleRate", optionalInteger(read, v.format.sampleRate))
        .set("bitsPerSample", optionalInteger(read, v.format.bitsPerSample))
        .set("duration", durationOf(v, read))
        .set("opener", std::move(opener));
    if (findTempo && v.accepted()) describeTempo(wave, findTempo(path));
    return wave;
}

}  // namespace brenvik::cli
