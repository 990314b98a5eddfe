#include "LoopNameReader.h"

#include <QMetaObject>
#include <utility>

namespace brenvik {

namespace {
// Folders handed on at once: names appear soon, without a library write for every loop.
constexpr size_t kBatch = 8;
}  // namespace

LoopNameReader::LoopNameReader(Hashed hashed, QObject* parent) : QObject(parent), m_hashed(std::move(hashed)) {}

// Closing waits for the folder being read at most; posted hashes die with the object.
LoopNameReader::~LoopNameReader() {
    stopRuns();
    for (Run& run : m_runs) run.thread.join();
}

// A stopped run ends after its current folder; one that has ended is joined at once, the others
// later, so that the window never waits for a reading it has given up.
void LoopNameReader::stopRuns() {
    for (Run& run : m_runs) run.stop->store(true);
    std::erase_if(m_runs, [](Run& run) {
        if (!run.ended->load()) return false;
        run.thread.join();
        return true;
    });
}

void LoopNameReader::read(std::vector<std::string> folders) {
    stopRuns();
    m_done = 0;
    m_total = static_cast<int>(folders.size());
    if (folders.empty()) return;
    auto stop = std::make_shared<std::atomic<bool>>(false);
    auto ended = std::make_shared<std::atomic<bool>>(false);
    std::thread worker([this, stop, ended, folders = std::move(folders)] {
        std::vector<library::HashedFolder> batch;
        for (size_t at = 0; at < folders.size() && !stop->load(); ++at) {
            batch.push_back(library::hashLoopFolder(folders[at]));
            if (batch.size() < kBatch && at + 1 < folders.size()) continue;
            QMetaObject::invokeMethod(
                this,
                [this, stop, batch = std::exchange(batch, {})] {
                    if (stop->load()) return;
                    m_done += static_cast<int>(batch.size());
                    m_hashed(batch);
                },
                Qt::QueuedConnection);
        }
        ended->store(true);
    });
    m_runs.push_back({std::move(worker), stop, ended});
}

}  // namespace brenvik
