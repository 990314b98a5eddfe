#include "InfoLoop.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <span>

#include "LoopDescription.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "Loudness.h"
#include "Messages.h"
#include "TrackFile.h"
#include "TrackSizes.h"

namespace brenvik::cli {

namespace {

std::string hexBytes(std::span<const uint8_t> bytes) {
    std::string text;
    for (uint8_t b : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", static_cast<unsigned>(b));
        if (!text.empty()) text += ' ';
        text += pair;
    }
    return text;
}

InfoNode checkTriple(const loop::Description& d, int first, int last, int at) {
    const auto stored = loop::storedCheckBytes(d, at);
    const auto expected = loop::checkBytes(d, first, last, at);
    InfoNode triple = InfoNode::object();
    triple.set("stored", InfoNode::text(hexBytes(stored)))
        .set("expected", InfoNode::text(hexBytes(expected)))
        .set("correct", InfoNode::flag(stored == expected));
    return triple;
}

// Track audio is 16-bit mono at 44.1 kHz; a sector holds 256 of its samples.
constexpr double kSectorSeconds = 512 / loop::kTrackBytesPerSecond;

InfoNode trackRecord(const Files& files, const loop::DecodedTrack& t, int track, const std::string& folder) {
    const std::string file = loop::trackFileName(track);
    InfoNode record = InfoNode::object();
    record.set("track", InfoNode::integer(track))
        .set("chosen", InfoNode::flag(t.chosen))
        .set("endSector", InfoNode::integer(t.endSector))
        .set("sectors", InfoNode::integer(t.endSector + 1))
        .set("clusters", InfoNode::integer(t.clusters))
        .set("bitmapClusters", InfoNode::integer(t.bitmapBits))
        .set("pan", InfoNode::integer(t.pan))
        .set("pitch", InfoNode::integer(t.pitch))
        .set("file", InfoNode::text(file))
        .set("fileExists", InfoNode::flag(files.fileExists(loop::pathOnCard(folder, file))));
    return record;
}

// A level in decibels to a hundredth (never -0), or null for minus infinity, which JSON cannot
// hold.
InfoNode decibelsNode(double value) {
    return std::isfinite(value) ? InfoNode::real(std::round(value * 100) / 100 + 0.0) : InfoNode();
}

// The loop as it plays: one line in text, the two levels and that line in JSON.
InfoNode loudnessOf(const std::string& folder) {
    const loudness::LoudnessResult measured = loudness::loudnessOfLoop(folder);
    const std::string text = measured.loudness ? loudness::loudnessText(*measured.loudness)
                                               : message::notMeasured(measured.reason);
    InfoNode node = InfoNode::object();
    node.set("integratedLufs",
             measured.loudness ? decibelsNode(measured.loudness->integratedLufs) : InfoNode())
        .set("truePeakDbtp",
             measured.loudness ? decibelsNode(measured.loudness->truePeakDbtp) : InfoNode())
        .set("text", InfoNode::text(text));
    return node.shownAs(text);
}

}  // namespace

void describeLoopFolder(InfoNode& report, const Files& files, const std::string& folder, FileSource& description) {
    using namespace loop::ldf;
    loop::Description d{};
    description.readZeroFilled(0, d);  // a short file reads as if padded with zero bytes
    const loop::DecodedDescription decoded = loop::decodeDescription(d);

    InfoNode ldf = InfoNode::object();
    ldf.set("size", InfoNode::integer(description.size()))
        .set("header", InfoNode::text(hexBytes(decoded.header)))
        .set("startSector", InfoNode::integer(decoded.startSector))
        .set("tempoCode", InfoNode::integer(decoded.tempoCode))
        .set("tempo", InfoNode::real(loop::tempoOfCode(decoded.tempoCode)))
        .set("beatCount", InfoNode::integer(decoded.beatCount))
        .set("beatsPerBar", InfoNode::integer(decoded.beatsPerBar))
        .set("division", InfoNode::integer(decoded.division))
        .set("loopSectors", InfoNode::integer(decoded.loopSectors))
        .set("duration", duration(kSectorSeconds * (decoded.tracks[0].endSector + 1)))
        .set("checkTriple1", checkTriple(d, kCheck1First, kCheck1Last, kCheck1At))
        .set("checkTriple2", checkTriple(d, kCheck2First, kCheck2Last, kCheck2At));

    InfoNode tracks = InfoNode::list();
    for (int k = 1; k <= 4; ++k) tracks.push(trackRecord(files, decoded.tracks[static_cast<size_t>(k - 1)], k, folder));

    report.set("description", std::move(ldf))
        .set("tracks", std::move(tracks))
        .set("loudness", loudnessOf(folder));
}

InfoNode describeTrack(const std::string& loopName, const std::string& trackName,
                       FileSource& description, FileSource& track) {
    const TrackInputs in = readTrackInputs(description, track);
    InfoNode result = InfoNode::object();
    result.set("loop", InfoNode::text(loopName))
        .set("track", InfoNode::text(trackName))
        .set("startField", InfoNode::integer(in.start))
        .set("endField", InfoNode::integer(in.end))
        .set("preBufferSectors", InfoNode::integer(preBufferSectors(in.start)));

    InfoNode opener = InfoNode::object();
    try {
        const TrackSizes sizes = deriveTrackSizes(in);
        result.set("pre", InfoNode::integer(sizes.pre))
            .set("audio", InfoNode::integer(sizes.audio))
            .set("post", InfoNode::integer(sizes.post))
            .set("total", InfoNode::integer(sizes.total))
            .set("duration", duration(sizes.audio / loop::kTrackBytesPerSecond));
        const bool ok = sizesAcceptable(sizes);
        opener.set("outcome", InfoNode::text(ok ? "accepted" : "refused"))
            .set("message", ok ? InfoNode() : InfoNode::text(message::kUntrimmedTrack));
    } catch (const std::exception&) {
        // A size beyond 32 bits: the open command ends at once, without a message.
        result.set("total", InfoNode::integer(in.total));
        opener.set("outcome", InfoNode::text("failed")).set("message", InfoNode());
    }
    result.set("opener", std::move(opener));
    return result;
}

}  // namespace brenvik::cli
