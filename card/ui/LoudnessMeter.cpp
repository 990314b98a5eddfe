#include "LoudnessMeter.h"

#include <QMetaObject>
#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace brenvik {

LoudnessMeter::LoudnessMeter(QObject* parent) : QObject(parent) {}

LoudnessMeter::~LoudnessMeter() {
    stopWorker();
}

void LoudnessMeter::stopWorker() {
    if (m_stop) m_stop->store(true);
    if (m_worker.joinable()) m_worker.join();
    m_stop.reset();
    m_measuring.clear();
}

LoudnessMeter::Stamp LoudnessMeter::stampOf(const std::string& loopFolder) {
    Stamp stamp{loopFolder};
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(loopFolder, ec)) {
        std::error_code fileEc;
        const auto size = entry.file_size(fileEc);
        const auto modified = entry.last_write_time(fileEc);
        if (fileEc) continue;
        stamp.push_back(entry.path().filename().string() + '/' + std::to_string(size) + '/' +
                        std::to_string(modified.time_since_epoch().count()));
    }
    std::sort(stamp.begin() + 1, stamp.end());
    return stamp;
}

const loudness::LoudnessResult* LoudnessMeter::of(const std::string& loopFolder) {
    Stamp stamp = stampOf(loopFolder);
    if (stamp == m_stamp) return &m_result;
    if (stamp == m_measuring) return nullptr;
    stopWorker();
    m_measuring = stamp;
    auto stop = std::make_shared<std::atomic<bool>>(false);
    m_stop = stop;
    // Posted work runs on this object's thread and is dropped with the object; a stopped
    // measurement's late result is dropped by its flag, which stopWorker() sets first.
    m_worker = std::thread([this, stop, stamp = std::move(stamp), loopFolder] {
        loudness::LoudnessResult result = loudness::loudnessOfLoop(loopFolder, stop.get());
        QMetaObject::invokeMethod(
            this,
            [this, stop, stamp, result = std::move(result)] {
                if (*stop) return;
                m_stamp = stamp;
                m_result = result;
                m_measuring.clear();
                emit measured();
            },
            Qt::QueuedConnection);
    });
    return nullptr;
}

}  // namespace brenvik
