// Measures listening and looking: how long the waveform peaks of a wave take (warm cache, one
// thread), and how long it takes from Play until the first sound comes out of the audio output.
//
//   audition-bench peaks WAVE [RUNS]    median and fastest milliseconds of computePeaks over the
//                                       wave's data (after one untimed run that warms the cache)
//   audition-bench first-sound [RUNS]   milliseconds from play() until the loop's first frame
//                                       is heard on the capture source "ci_capture" (a null
//                                       sink's monitor; bench/audition_bench.py starts it)
//   audition-bench first-sound-cli BRENVIK_CLI [RUNS]
//                                       the same from starting `brenvik-cli play` on a wave (the
//                                       program and its companion start up, then play)
#include <sys/resource.h>
#include <QAudioDevice>
#include <QAudioSource>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "AudioPlayback.h"
#include "ByteSource.h"
#include "Peaks.h"
#include "PlaySource.h"

using namespace brenvik;

namespace {

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.2f ms, fastest %.2f ms, slowest %.2f ms over %zu runs\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
}

int peaks(const std::string& path, int runs) {
    const audition::Preparation prepared = audition::sourceOfWave(path);
    if (!prepared.source) {
        std::fprintf(stderr, "%s\n", prepared.reason.c_str());
        return 1;
    }
    const audition::SampleRun& run = prepared.source->runs.front();
    std::vector<double> ms;
    int64_t blocks = 0;
    for (int i = 0; i <= runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        blocks = 0;
        audition::computePeaks(run, [&](int64_t, std::span<const audition::Peak> p) {
            blocks += static_cast<int64_t>(p.size());
            return true;
        });
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        if (i > 0) ms.push_back(took.count());  // the first run warms the cache
    }
    // The floor: the same 1 MiB reads with nothing done with the bytes.
    std::vector<double> floorMs;
    std::vector<uint8_t> buffer(static_cast<size_t>(audition::kPeakReadBytes));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        brenvik::FileSource file(run.path);
        for (int64_t at = 0; at < run.frames * 2 * run.channels; at += audition::kPeakReadBytes)
            file.readAt(run.offset + at, buffer);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        floorMs.push_back(took.count());
    }
    std::printf("%lld frames, %d channels, %lld peaks\n", static_cast<long long>(run.frames),
                run.channels, static_cast<long long>(blocks));
    report("peaks", ms);
    report("plain 1 MiB reads of the same bytes", floorMs);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory: %ld KiB\n", usage.ru_maxrss);
    return 0;
}

// A second of a constant, never silent, sample as a wave: any frame of it is the first sound.
std::string writeSoundingWave() {
    const std::string path = QDir::temp().filePath("audition-bench-loop.wav").toStdString();
    const std::vector<int16_t> samples(2 * 44100, 1000);
    const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
    const uint32_t riff = data + 36, fmt = 16, rate = 44100, byteRate = 4 * 44100;
    const uint16_t pcm = 1, channels = 2, align = 4, bits = 16;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite("RIFF", 1, 4, f);
    std::fwrite(&riff, 4, 1, f);
    std::fwrite("WAVEfmt ", 1, 8, f);
    for (const auto& [field, size] : {std::pair<const void*, size_t>{&fmt, 4}, {&pcm, 2}, {&channels, 2},
                                      {&rate, 4}, {&byteRate, 4}, {&align, 2}, {&bits, 2}})
        std::fwrite(field, size, 1, f);
    std::fwrite("data", 1, 4, f);
    std::fwrite(&data, 4, 1, f);
    std::fwrite(samples.data(), 2, samples.size(), f);
    std::fclose(f);
    return path;
}

// From start() until the first frame is heard, `runs` times; stop() ends each run.
int firstSound(const char* what, int runs, const std::function<bool()>& start, const std::function<void()>& stop) {
    QAudioDevice captureDevice;
    for (const QAudioDevice& device : QMediaDevices::audioInputs())
        if (device.id() == "ci_capture") captureDevice = device;
    if (captureDevice.isNull()) {
        std::fprintf(stderr, "no capture source ci_capture: start the null sink first\n");
        return 1;
    }
    QAudioSource capture(captureDevice, AudioPlayback::format());
    QIODevice* recorder = capture.start();
    QElapsedTimer clock;
    clock.start();
    qint64 playedAt = -1;
    double heardAfter = -1;
    QObject::connect(recorder, &QIODevice::readyRead, [&] {
        const QByteArray data = recorder->readAll();
        const qint64 now = clock.nsecsElapsed();
        if (playedAt < 0 || heardAfter >= 0) return;
        const qsizetype frames = data.size() / 4;
        for (qsizetype f = 0; f < frames; ++f) {
            int16_t left;
            std::memcpy(&left, data.constData() + 4 * f, 2);
            if (left == 0) continue;
            // The frame was captured (frames - f) frames before the chunk arrived, or earlier:
            // the figure errs on the slow side.
            const double at =
                static_cast<double>(now) / 1e6 - static_cast<double>(frames - f) * 1000.0 / 44100.0;
            heardAfter = at - static_cast<double>(playedAt) / 1e6;
            break;
        }
    });
    std::vector<double> ms;
    QEventLoop loop;
    for (int i = 0; i < runs; ++i) {
        QTimer::singleShot(300, &loop, &QEventLoop::quit);  // silence between runs
        loop.exec();
        heardAfter = -1;
        playedAt = clock.nsecsElapsed();
        if (!start()) return 1;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (heardAfter >= 0 || clock.nsecsElapsed() - playedAt > 5'000'000'000) loop.quit();
        });
        poll.start(5);
        loop.exec();
        stop();
        playedAt = -1;
        if (heardAfter < 0) {
            std::fprintf(stderr, "no sound within 5 s\n");
            return 1;
        }
        ms.push_back(heardAfter);
    }
    report(what, ms);
    return 0;
}

int firstSound(int runs) {
    const std::string path = writeSoundingWave();
    const audition::Preparation prepared = audition::sourceOfWave(path);
    AudioPlayback playback;
    const int status = firstSound(
        "Play to first sound", runs,
        [&] {
            if (playback.play(*prepared.source)) return true;
            std::fprintf(stderr, "%s\n", qPrintable(playback.lastError()));
            return false;
        },
        [&] { playback.stop(); });
    std::remove(path.c_str());
    return status;
}

int firstSoundOfCommand(const QString& cli, int runs) {
    const std::string path = writeSoundingWave();
    QProcess play;
    play.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const int status = firstSound(
        "brenvik-cli play to first sound", runs,
        [&] {
            play.start(cli, {"play", QString::fromStdString(path), "--times", "5"});
            if (play.waitForStarted()) return true;
            std::fprintf(stderr, "%s cannot be started\n", qPrintable(cli));
            return false;
        },
        [&] {
            play.kill();
            play.waitForFinished();
        });
    std::remove(path.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "peaks" && argc > 2) return peaks(argv[2], argc > 3 ? std::atoi(argv[3]) : 21);
    if (mode == "first-sound") return firstSound(argc > 2 ? std::atoi(argv[2]) : 15);
    if (mode == "first-sound-cli" && argc > 2) return firstSoundOfCommand(argv[2], argc > 3 ? std::atoi(argv[3]) : 15);
    std::fprintf(stderr, "usage: audition-bench peaks WAVE [RUNS] | first-sound [RUNS] | first-sound-cli BRENVIK_CLI [RUNS]\n");
    return 2;
}
