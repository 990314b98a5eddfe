#pragma once
// Play and Stop for a window or the command-line tool: plays a play source through the default
// audio output (Qt Multimedia), round and round or for a number of passes, and tells where the
// playhead is. Where the machine has no audio output it says why, and Play does nothing.
#include <QAudio>
#include <QAudioFormat>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "PlaySource.h"

class QAudioSink;

namespace brenvik {

class StreamDevice;

class AudioPlayback : public QObject {
    Q_OBJECT
public:
    explicit AudioPlayback(QObject* parent = nullptr);
    ~AudioPlayback() override;

    // What goes out: the loop's samples exactly as they are, 44.1 kHz, 16 bit, two channels.
    static QAudioFormat format();

    // Empty when an audio output exists; otherwise why nothing can be played (a disabled Play
    // button's tooltip).
    QString unavailableReason() const;

    // Plays the source from its first frame, replacing what played before; passes = 0 loops
    // until stop(). Returns false, with the reason in lastError(), when it cannot start.
    bool play(const audition::PlaySource& source, int passes = 0);
    void stop();
    bool isPlaying() const { return m_sink != nullptr; }

    // The frame of the loop being heard now, -1 when stopped.
    qint64 playheadFrame() const;
    QString lastError() const { return m_lastError; }

signals:
    void playingChanged(bool playing);
    // The passes asked for have been played to their last frame.
    void finished();
    // Playing stopped on its own: a file failed or the output went away.
    void failed(const QString& reason);
    // An audio output appeared or went away: unavailableReason() may have changed.
    void availabilityChanged();

private:
    void onSinkState(QAudio::State state);
    void finishAfterDrain();
    void fail(const QString& reason);
    qint64 bufferedFrames() const;

    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<StreamDevice> m_device;
    qint64 m_loopFrames = 0;
    QString m_lastError;
    QTimer m_drain;  // lets the last pass play out of the sink
};

}  // namespace brenvik
