#include "AudioPlayback.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>
#include <exception>

#include "LoopStream.h"
#include "Messages.h"
#include "StreamDevice.h"

namespace brenvik {

namespace {

constexpr int kFrameBytes = 4;
constexpr int kDrainMarginMs = 50;

}  // namespace

QAudioFormat AudioPlayback::format() {
    QAudioFormat wanted;
    wanted.setSampleRate(44100);
    wanted.setChannelCount(2);
    wanted.setSampleFormat(QAudioFormat::Int16);
    return wanted;
}

AudioPlayback::AudioPlayback(QObject* parent) : QObject(parent) {
    m_drain.setSingleShot(true);
    connect(&m_drain, &QTimer::timeout, this, [this] {
        stop();
        emit finished();
    });
    auto* devices = new QMediaDevices(this);
    connect(devices, &QMediaDevices::audioOutputsChanged, this,
            &AudioPlayback::availabilityChanged);
}

AudioPlayback::~AudioPlayback() {
    stop();
}

QString AudioPlayback::unavailableReason() const {
    return QMediaDevices::defaultAudioOutput().isNull() ? QString(message::kNoAudioOutput)
                                                        : QString();
}

bool AudioPlayback::play(const audition::PlaySource& source, int passes) {
    stop();
    m_lastError.clear();
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) {
        m_lastError = message::kNoAudioOutput;
        return false;
    }
    std::unique_ptr<audition::LoopStream> stream;
    try {
        stream = std::make_unique<audition::LoopStream>(source, passes);
    } catch (const std::exception& e) {
        m_lastError = QString::fromStdString(e.what());
        return false;
    }
    m_loopFrames = source.frames;
    m_device = std::make_unique<StreamDevice>(std::move(stream));
    // Reported once the sink has returned from its read, and only for the device still playing.
    connect(
        m_device.get(), &StreamDevice::failed, this,
        [this, device = m_device.get()] {
            if (m_device.get() == device) fail(m_device->failure());
        },
        Qt::QueuedConnection);
    m_sink = std::make_unique<QAudioSink>(output, format());
    m_sink->setVolume(1.0);
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &AudioPlayback::onSinkState);
    m_sink->start(m_device.get());
    if (m_sink->error() != QAudio::NoError) {
        stop();
        m_lastError = message::kNoAudioOutput;
        return false;
    }
    emit playingChanged(true);
    return true;
}

void AudioPlayback::stop() {
    if (!m_sink) return;
    m_sink->disconnect(this);
    m_sink->stop();
    m_sink.reset();
    m_device.reset();
    m_drain.stop();
    emit playingChanged(false);
}

qint64 AudioPlayback::bufferedFrames() const {
    return m_sink ? (m_sink->bufferSize() - m_sink->bytesFree()) / kFrameBytes : 0;
}

qint64 AudioPlayback::playheadFrame() const {
    if (!m_sink || m_loopFrames == 0) return -1;
    const qint64 heard = std::max<qint64>(m_device->framesDelivered() - bufferedFrames(), 0);
    return heard % m_loopFrames;
}

void AudioPlayback::onSinkState(QAudio::State state) {
    if (state == QAudio::StoppedState && m_sink->error() != QAudio::NoError) {
        fail(message::kNoAudioOutput);
        return;
    }
    // The sink falls idle once the device has nothing more; what it still holds plays on.
    if (state == QAudio::IdleState && m_device->ended() && m_device->failure().isEmpty())
        finishAfterDrain();
}

void AudioPlayback::finishAfterDrain() {
    if (!m_drain.isActive())
        m_drain.start(static_cast<int>(bufferedFrames() * 1000 / 44100) + kDrainMarginMs);
}

void AudioPlayback::fail(const QString& reason) {
    stop();
    m_lastError = reason;
    emit failed(reason);
}

}  // namespace brenvik
