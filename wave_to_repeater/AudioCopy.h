#pragma once
// Moving a source's audio into track files behind their pre-buffers, in 1 MiB source chunks so
// memory stays the same whatever the length. Only whole sectors are carried over: the Repeater
// counts its audio in 512-byte sectors, so the last d mod 512 source bytes are dropped.
#include "ByteSource.h"
#include "ChunkWalk.h"
#include "Platform.h"

namespace brenvik {

// A mono source: its sectors go into one track unchanged.
void copyMonoAudio(ByteSource& source, const DataChunk& data, FileSink& track, Platform& platform);

// A stereo source: each 4-byte frame's left sample goes to the left track, its right sample to
// the right track.
void splitStereoAudio(ByteSource& source, const DataChunk& data, FileSink& left, FileSink& right,
                      Platform& platform);

}  // namespace brenvik
