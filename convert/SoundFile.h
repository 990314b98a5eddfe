#pragma once
// An audio file opened for reading through libsndfile, which knows WAV (also
// WAVE_FORMAT_EXTENSIBLE and RF64), AIFF/AIFC, FLAC and more. Closed when the object goes.
#include <sndfile.h>

#include <cstddef>
#include <span>
#include <string>

#include "AudioInfo.h"

namespace brenvik {

class SoundFile {
public:
    // Throws ConvertError with libsndfile's reason when the file cannot be opened as audio.
    explicit SoundFile(const std::string& path);
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // What the file holds, and what it becomes under the channel choice. Throws ConvertError
    // when the choice names a channel the file lacks.
    AudioInfo describe(const ChannelChoice& choice) const;

    // Reads up to out.size() / channels frames as samples of full scale +-1.0; 0 at the end.
    // Throws ConvertError when the file cannot be read on.
    size_t readFrames(std::span<float> out);

    // Reads from the first frame again. Throws ConvertError when the file cannot be.
    void rewind();

    const std::string& path() const { return m_path; }

private:
    // The frames of a file whose length is not recorded, counted by reading it through; the file
    // is read from its start again afterwards.
    sf_count_t countFrames();

    std::string m_path;
    SF_INFO m_info{};
    SNDFILE* m_file = nullptr;
};

}  // namespace brenvik
