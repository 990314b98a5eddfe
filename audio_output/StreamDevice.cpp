#include "StreamDevice.h"

#include <cstring>
#include <exception>

#include "Messages.h"

namespace brenvik {

namespace {
constexpr qint64 kFrameBytes = 4;  // stereo, 16 bit
constexpr qint64 kOfferedBytes = 16384 * kFrameBytes;
}  // namespace

StreamDevice::StreamDevice(std::unique_ptr<audition::LoopStream> stream, QObject* parent)
    : QIODevice(parent), m_stream(std::move(stream)) {
    open(QIODevice::ReadOnly);
}

StreamDevice::~StreamDevice() = default;

qint64 StreamDevice::bytesAvailable() const {
    return (ended() ? 0 : kOfferedBytes) + QIODevice::bytesAvailable();
}

qint64 StreamDevice::readData(char* data, qint64 maxSize) {
    if (ended()) return 0;
    const auto frames = static_cast<size_t>(maxSize / kFrameBytes);
    m_frames.resize(2 * frames);
    size_t got = 0;
    try {
        got = m_stream->read(m_frames.data(), frames);
    } catch (const std::exception& e) {
        m_failure = QString::fromStdString(message::playingStopped(e.what()));
        emit failed(m_failure);
        return 0;
    }
    // The sink's buffer need not be aligned for 16-bit samples: copy bytes.
    std::memcpy(data, m_frames.data(), got * kFrameBytes);
    m_framesDelivered += static_cast<qint64>(got);
    return static_cast<qint64>(got) * kFrameBytes;
}

}  // namespace brenvik
