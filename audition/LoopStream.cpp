#include "LoopStream.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "Messages.h"
#include "SampleBlock.h"

namespace brenvik::audition {

namespace {
constexpr int64_t kBlockFrames = 16384;  // 64 KiB of a stereo run per file read
}

// One run's samples, a block at a time, frames before the run's end; silence after it.
class LoopStream::RunReader {
public:
    explicit RunReader(const SampleRun& run)
        : m_run(run), m_file(run.path), m_block(static_cast<size_t>(kBlockFrames * run.channels)) {}

    int channels() const { return m_run.channels; }

    // The samples of `frames` frames from frame `from` on (which must not cross a block).
    const int16_t* at(int64_t from, int64_t frames) {
        if (from < m_first || from + frames > m_first + m_count) {
            m_first = from;
            m_count = std::min(kBlockFrames, std::max<int64_t>(m_run.frames - from, 0));
            try {
                readSamples(
                    m_file, m_run.offset + from * 2 * m_run.channels,
                    std::span(m_block).first(static_cast<size_t>(m_count * m_run.channels)));
            } catch (const std::exception&) {
                throw RoutineError(message::playUnreadable(m_run.path));
            }
        }
        return m_block.data() + (from - m_first) * m_run.channels;
    }
    int64_t frames() const { return m_run.frames; }

private:
    SampleRun m_run;
    FileSource m_file;
    std::vector<int16_t> m_block;
    int64_t m_first = 0;
    int64_t m_count = 0;
};

LoopStream::LoopStream(const PlaySource& source, int passes)
    : m_loopFrames(source.frames), m_passes(passes) {
    for (const SampleRun& run : source.runs) m_readers.push_back(std::make_unique<RunReader>(run));
}

LoopStream::~LoopStream() = default;

size_t LoopStream::read(int16_t* out, size_t frames) {
    size_t done = 0;
    while (done < frames && !finished() && m_loopFrames > 0) {
        const int64_t inBlock = kBlockFrames - m_position % kBlockFrames;
        const auto count = static_cast<size_t>(std::min<int64_t>(
            {static_cast<int64_t>(frames - done), m_loopFrames - m_position, inBlock}));
        fill(out + 2 * done, m_position, count);
        done += count;
        m_position += static_cast<int64_t>(count);
        if (m_position == m_loopFrames) {
            m_position = 0;
            ++m_passesDone;
        }
    }
    return done;
}

// Frames from..from + count - 1, all inside one block of every run.
void LoopStream::fill(int16_t* out, int64_t from, size_t count) {
    std::memset(out, 0, count * 2 * sizeof(int16_t));
    const bool pair = m_readers.size() == 2;
    for (size_t r = 0; r < m_readers.size(); ++r) {
        RunReader& run = *m_readers[r];
        const auto frames = static_cast<size_t>(
            std::clamp<int64_t>(run.frames() - from, 0, static_cast<int64_t>(count)));
        if (frames == 0) continue;
        const int16_t* in = run.at(from, static_cast<int64_t>(frames));
        if (run.channels() == 2) {
            std::memcpy(out, in, frames * 2 * sizeof(int16_t));
        } else if (pair) {
            for (size_t j = 0; j < frames; ++j) out[2 * j + r] = in[j];
        } else {
            for (size_t j = 0; j < frames; ++j) out[2 * j] = out[2 * j + 1] = in[j];
        }
    }
}

}  // namespace brenvik::audition
