#include "InfoWave.h"

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

const char* outcomeName(OpenerVerdict::Outcome outcome) {
    switch (outcome) {
    case OpenerVerdict::Outcome::Accepted: return "accepted";
    case OpenerVerdict::Outcome::WrongRate:
    case OpenerVerdict::Outcome::WrongBits: return "refused";
    case OpenerVerdict::Outcome::WalkFailed:
    case OpenerVerdict::Outcome::AcceptFailed: return "failed";
    }
    return "failed";
}

InfoNode optionalInteger(bool present, long long value) {
    return present ? InfoNode::integer(value) : InfoNode();
}

}  // namespace

InfoNode describeWave(FileSource& file) {
    const OpenerVerdict v = openerVerdict(file);
    const bool found = v.walk.end == ChunkWalk::End::Data;
    const bool read = found && v.outcome != OpenerVerdict::Outcome::WalkFailed;

    InfoNode walk = InfoNode::object();
    walk.set("end", InfoNode::text(endName(v.walk.end)))
        .set("chunks", InfoNode::integer(v.walk.steps))
        // Without a "fmt " chunk before "data" the opener reads its fields at 9, 11 and 21.
        .set("fmtOffset", optionalInteger(v.walk.fmtOffset.has_value(), v.walk.fmtOffset.value_or(0)))
        .set("dataOffset", optionalInteger(found, v.walk.dataStart()))
        .set("dataSize", optionalInteger(found, v.walk.dataSize));

    InfoNode opener = InfoNode::object();
    opener.set("outcome", InfoNode::text(outcomeName(v.outcome)))
        .set("message", v.message.empty() ? InfoNode() : InfoNode::text(v.message))
        .set("maxBeats", optionalInteger(v.accepted(), v.maxBeats));

    InfoNode wave = InfoNode::object();
    wave.set("fileSize", InfoNode::integer(file.size()))
        .set("walk", std::move(walk))
        .set("channels", optionalInteger(read, v.format.channels))
        .set("sampleRate", optionalInteger(read, v.format.sampleRate))
        .set("bitsPerSample", optionalInteger(read, v.format.bitsPerSample))
        .set("opener", std::move(opener));
    return wave;
}

}  // namespace brenvik::cli
