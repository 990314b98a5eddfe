#pragma once
// Computes the waveform peaks of one or more sample runs on a worker thread and hands them to
// the user-interface thread as they arrive, a megabyte of audio at a time, so a window shows the
// waveform growing and stays responsive. A new load, or the loader's end, stops the old one.
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "Peaks.h"
#include "PlaySource.h"

namespace brenvik {

class PeakLoader : public QObject {
    Q_OBJECT
public:
    explicit PeakLoader(QObject* parent = nullptr);
    ~PeakLoader() override;

    // Starts on these runs; each channel of each run becomes one lane of the waveform.
    void load(std::vector<audition::SampleRun> runs);
    void clear();

    // One entry per lane: the peaks of its blocks of 256 frames, as far as they have arrived.
    const std::vector<std::vector<audition::Peak>>& lanes() const { return m_lanes; }
    // Frames of the longest run.
    int64_t frames() const { return m_frames; }
    bool loading() const { return m_worker.joinable() && !m_done; }

signals:
    void peaksArrived();
    void loaded();
    // A file could not be read; the peaks that arrived stay.
    void failed(const QString& reason);

private:
    void stopWorker();

    std::vector<std::vector<audition::Peak>> m_lanes;
    int64_t m_frames = 0;
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    bool m_done = true;
};

}  // namespace brenvik
