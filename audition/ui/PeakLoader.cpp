#include "PeakLoader.h"

#include <QMetaObject>
#include <exception>

#include "Messages.h"

namespace brenvik {

PeakLoader::PeakLoader(QObject* parent) : QObject(parent) {}

PeakLoader::~PeakLoader() {
    stopWorker();
}

void PeakLoader::stopWorker() {
    if (m_cancel) m_cancel->store(true);
    if (m_worker.joinable()) m_worker.join();
    m_cancel.reset();
}

void PeakLoader::clear() {
    stopWorker();
    m_lanes.clear();
    m_frames = 0;
    m_done = true;
    emit peaksArrived();
}

void PeakLoader::load(std::vector<audition::SampleRun> runs) {
    clear();
    for (const audition::SampleRun& run : runs) {
        m_frames = std::max(m_frames, run.frames);
        for (int c = 0; c < run.channels; ++c) m_lanes.emplace_back();
    }
    m_done = false;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    // Posted work runs on this object's thread and is dropped with the object; a cancelled
    // load's late batches are dropped by the flag, which clear() sets before anything changes.
    m_worker = std::thread([this, cancel, runs = std::move(runs)] {
        size_t firstLane = 0;
        QString failure;
        for (const audition::SampleRun& run : runs) {
            try {
                audition::computePeaks(run, [&](int64_t, std::span<const audition::Peak> peaks) {
                    std::vector<audition::Peak> batch(peaks.begin(), peaks.end());
                    QMetaObject::invokeMethod(
                        this,
                        [this, cancel, firstLane, channels = run.channels,
                         batch = std::move(batch)] {
                            if (*cancel) return;
                            for (size_t i = 0; i < batch.size(); ++i)
                                m_lanes[firstLane + i % static_cast<size_t>(channels)].push_back(
                                    batch[i]);
                            emit peaksArrived();
                        },
                        Qt::QueuedConnection);
                    return !*cancel;
                });
            } catch (const std::exception&) {
                failure = QString::fromStdString(message::playUnreadable(run.path));
                break;
            }
            firstLane += static_cast<size_t>(run.channels);
        }
        QMetaObject::invokeMethod(
            this,
            [this, cancel, failure] {
                if (*cancel) return;
                m_done = true;
                if (failure.isEmpty())
                    emit loaded();
                else
                    emit failed(failure);
            },
            Qt::QueuedConnection);
    });
}

}  // namespace brenvik
