#pragma once
// `info` on a normal wave file: what the chunk walk finds and what the wave-to-Repeater opener
// would make of it.
#include <string>

#include "ByteSource.h"
#include "InfoReport.h"
#include "TempoEstimate.h"

namespace brenvik::cli {

class Arguments;

// Members: fileSize, walk {end, chunks, fmtOffset, dataOffset, dataSize}, channels, sampleRate,
// bitsPerSample, opener {outcome, message, maxBeats}; given a way to find the tempo, of a wave the
// opener accepts also tempoFound ("about 120 BPM (16 beats)") and tempo {beatsPerMinute, beats,
// beatsPerBar, confidence}, both none when no tempo is found.
InfoNode describeWave(FileSource& file, const std::string& path, tempo::TempoFinder findTempo);

// brenvik-cli info, finding the tempo of a wave with findTempo (brenvik-cli's companion has one).
int runInfo(const Arguments& args, std::ostream& out, std::ostream& err, tempo::TempoFinder findTempo);

}  // namespace brenvik::cli
