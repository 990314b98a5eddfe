#pragma once
// The loudness of the loop whose details the Card window shows, measured on a worker thread so
// that selecting a long loop (minutes of audio to read) does not hold up the window. The last
// loop measured is answered at once while its files stay as they were; a new question stops the
// measurement of another loop.
#include <QObject>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Loudness.h"

namespace brenvik {

class LoudnessMeter : public QObject {
    Q_OBJECT
public:
    explicit LoudnessMeter(QObject* parent = nullptr);
    ~LoudnessMeter() override;

    // The loop folder's loudness when it was measured last and its files have the same names,
    // sizes and modification times since; otherwise nothing, and measured() follows once it is
    // known.
    const loudness::LoudnessResult* of(const std::string& loopFolder);

signals:
    void measured();

private:
    // The folder's path, then each file's name, size and modification time.
    using Stamp = std::vector<std::string>;
    static Stamp stampOf(const std::string& loopFolder);
    void stopWorker();

    Stamp m_stamp;  // of the loop m_result is the loudness of
    loudness::LoudnessResult m_result;
    Stamp m_measuring;  // of the loop the worker measures
    std::thread m_worker;
    std::shared_ptr<std::atomic<bool>> m_stop;
};

}  // namespace brenvik
