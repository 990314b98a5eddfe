#pragma once
// Moving a source's audio into track files behind their pre-buffers, 1 MiB of source at a time,
// so memory stays the same whatever the length. Only whole sectors are carried over: the Repeater
// counts its audio in 512-byte sectors, so the last d mod 512 source bytes are dropped.
#include <functional>

#include "ByteSource.h"
#include "ChunkWalk.h"

namespace brenvik {

// Told the progress step of every chunk copied: 1048 for a full chunk, less for the last one.
using ProgressStep = std::function<void(float step)>;

// A mono source: its sectors go into one track unchanged.
void copyMonoSourceToTrack(ByteSource& source, const DataChunk& data, FileSink& track,
                           const ProgressStep& advance);

// A stereo source: each 4-byte frame's left sample goes to the left track, its right sample to
// the right track.
void splitStereoSourceToTracks(ByteSource& source, const DataChunk& data, FileSink& left,
                               FileSink& right, const ProgressStep& advance);

}  // namespace brenvik
