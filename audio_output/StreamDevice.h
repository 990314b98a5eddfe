#pragma once
// The audio output pulls the loop through this device. Qt's sink pulls only from a device that
// is sequential and says how many bytes it has, so it reports a block while the loop goes on and
// nothing once its passes are done.
#include <QIODevice>
#include <QString>
#include <memory>
#include <vector>

#include "LoopStream.h"

namespace brenvik {

class StreamDevice : public QIODevice {
    Q_OBJECT
public:
    StreamDevice(std::unique_ptr<audition::LoopStream> stream, QObject* parent = nullptr);
    ~StreamDevice() override;

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

    qint64 framesDelivered() const { return m_framesDelivered; }
    bool ended() const { return m_stream->finished() || !m_failure.isEmpty(); }
    // Why the stream stopped early (a file that failed or shrank); empty while all is well.
    QString failure() const { return m_failure; }

signals:
    void failed(const QString& reason);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<audition::LoopStream> m_stream;
    std::vector<int16_t> m_frames;
    qint64 m_framesDelivered = 0;
    QString m_failure;
};

}  // namespace brenvik
