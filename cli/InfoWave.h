#pragma once
// `info` on a normal wave file: what the chunk walk finds and what the wave-to-Repeater opener
// would make of it.
#include "ByteSource.h"
#include "InfoReport.h"

namespace brenvik::cli {

// Members: fileSize, walk {end, chunks, fmtOffset, dataOffset, dataSize}, channels, sampleRate,
// bitsPerSample, opener {outcome, message, maxBeats}.
InfoNode describeWave(FileSource& file);

}  // namespace brenvik::cli
