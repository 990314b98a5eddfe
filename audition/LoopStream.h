#pragma once
// The sample stream of a play source, round and round: after the last frame of a pass comes the
// first frame of the next, with nothing dropped or added between them. Reads the files in fixed
// blocks, so memory does not grow with their length.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ByteSource.h"
#include "PlaySource.h"

namespace brenvik::audition {

class LoopStream {
public:
    // passes = 0 loops without end. Throws RoutineError when a file cannot be opened.
    explicit LoopStream(const PlaySource& source, int passes = 0);
    ~LoopStream();
    LoopStream(const LoopStream&) = delete;
    LoopStream& operator=(const LoopStream&) = delete;

    // Fills up to `frames` stereo frames (left, right) and returns how many it wrote: all of
    // them until the passes are done. Throws RoutineError when a file fails or has become
    // shorter than its run, rather than playing silence for audio it cannot read.
    size_t read(int16_t* stereoFrames, size_t frames);

    bool finished() const { return m_passes > 0 && m_passesDone >= m_passes; }
    int64_t loopFrames() const { return m_loopFrames; }
    // The frame of the loop the next read starts with.
    int64_t position() const { return m_position; }

private:
    class RunReader;
    void fill(int16_t* out, int64_t from, size_t frames);

    std::vector<std::unique_ptr<RunReader>> m_readers;
    int64_t m_loopFrames = 0;
    int64_t m_position = 0;
    int m_passes = 0;
    int m_passesDone = 0;
};

}  // namespace brenvik::audition
