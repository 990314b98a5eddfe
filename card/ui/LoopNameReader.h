#pragma once
// The content hashes of the loop folders the library has not kept yet, read on a worker thread so
// that the first listing of a full card (all its audio to read) never holds up the Card window.
// The hashes come back a few folders at a time on the window's thread, so names appear as they
// are found. A new reading stops the one before, whose late hashes are dropped.
#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CardNames.h"

namespace brenvik {

class LoopNameReader : public QObject {
    Q_OBJECT
public:
    using Hashed = std::function<void(const std::vector<library::HashedFolder>&)>;
    LoopNameReader(Hashed hashed, QObject* parent = nullptr);
    ~LoopNameReader() override;

    // Starts reading `folders` (none: nothing to read), stopping a reading under way.
    void read(std::vector<std::string> folders);

    // How many of the folders of the latest reading were handed on, of how many.
    int done() const { return m_done; }
    int total() const { return m_total; }
    bool reading() const { return m_done < m_total; }

private:
    struct Run {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> stop, ended;
    };
    void stopRuns();

    Hashed m_hashed;
    std::vector<Run> m_runs;  // the latest, and stopped ones still ending their current folder
    int m_done = 0;
    int m_total = 0;
};

}  // namespace brenvik
