#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sndfile.h>

#include <stdexcept>

#include "AudioConversion.h"
#include "LevelSignal.h"
#include "TestFiles.h"
#include "ScriptedFiles.h"
#include "ToneMeasure.h"

using namespace brenvik;
using namespace brenvik::test;

namespace {
constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16, kWav24 = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
constexpr size_t kSecond = 44100;  // the frames measured: whole cycles of every tone below

using Frequencies = std::vector<std::vector<double>>;
struct ToneRow {
    int format, rate, channels;
    std::vector<double> frequencies;  // as writeTones takes them
    ChannelChoice choice;
    Frequencies carried;  // by each converted channel, at 0.5 over their count
    double toleranceDb;
};
struct FormatRow {
    int format, rate, channels, bits;
    SampleEncoding encoding;
    bool needsConverting, lossless;
};
struct RefusalRow {
    QByteArray bytes;  // a digit: a wave of that many channels
    QString target, message;
};
struct LevelRow {
    int format, rate;
    double peak;  // the source's highest sample
    double gainDb;
    bool fit;
};
struct NonFiniteRow {
    int format, rate, channels;
    std::vector<std::pair<int64_t, float>> bad;  // sample index, value
};
struct LengthRow {
    int channels, seconds;
    QString message;
};

Audio readAudio(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) throw std::runtime_error(sf_strerror(nullptr));
    Audio a{info.format, info.samplerate, info.channels, info.frames,
            std::vector<double>(size_t(info.frames * info.channels))};
    sf_readf_double(file, a.samples.data(), info.frames);
    sf_close(file);
    return a;
}
}  // namespace
Q_DECLARE_METATYPE(ToneRow)
Q_DECLARE_METATYPE(FormatRow)
Q_DECLARE_METATYPE(LengthRow)
Q_DECLARE_METATYPE(LevelRow)
Q_DECLARE_METATYPE(NonFiniteRow)
Q_DECLARE_METATYPE(RefusalRow)

// Other rates, widths and containers become 44.1 kHz 16-bit waves; the Repeater's own pass
// unchanged.
class TestAudioConversion : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    ScriptedFiles m_files;

    std::string path(const std::string& name) const { return m_dir.filePath(QString::fromStdString(name)).toStdString(); }
    ConversionResult convert(const std::string& target, ChannelChoice choice = {}) {
        return convertAudio({path("in"), path(target), choice}, m_files, {});
    }
    // Converts two seconds and a bit of tones into `out`: the length is the exact ratio's within
    // a frame, and what the probe foretold.
    void convertTones(Audio& out, int format, int rate, int channels, const std::vector<double>& frequencies,
                      double amplitude, ChannelChoice choice = {}) {
        writeTones(path("in"), format, rate, channels, 2 * rate + 333, frequencies, amplitude);
        const ConversionResult result = convert("out.wav", choice);
        QVERIFY2(result.outcome == ConversionResult::Outcome::Converted, result.message.c_str());
        out = readAudio(path("out.wav"));
        QCOMPARE(std::tuple(out.format, out.frames), std::tuple(kWav16, result.source->loopFrames));
        QVERIFY(std::abs(double(out.frames) - (2 * rate + 333) * 44100.0 / rate) <= 1);
    }

private slots:
    void tones_data() {
        QTest::addColumn<ToneRow>("row");
        const int wavFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT, wavex24 = SF_FORMAT_WAVEX | SF_FORMAT_PCM_24;
        const std::vector<double> four = {1000, 2000, 3000, 4000};
        using Mix = ChannelChoice::Mix;
        QTest::newRow("1 kHz, 48 kHz 24-bit") << ToneRow{kWav24, 48000, 1, {1000}, {}, {{1000}}, 0.05};
        QTest::newRow("1 kHz, 44.1 kHz 24-bit") << ToneRow{kWav24, 44100, 1, {1000}, {}, {{1000}}, 0.05};
        QTest::newRow("1 kHz, 88.2 kHz extensible stereo") << ToneRow{wavex24, 88200, 2, {1000}, {}, {{1000}, {1000}}, 0.05};
        QTest::newRow("1 kHz, 22.05 kHz 16-bit AIFF") << ToneRow{SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 22050, 1, {1000}, {}, {{1000}}, 0.05};
        QTest::newRow("20 kHz, 48 kHz 24-bit") << ToneRow{kWav24, 48000, 1, {20000}, {}, {{20000}}, 0.1};
        QTest::newRow("20 kHz, 96 kHz 24-bit FLAC") << ToneRow{SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 1, {20000}, {}, {{20000}}, 0.1};
        QTest::newRow("30 kHz, 96 kHz: no alias") << ToneRow{kWav24, 96000, 1, {30000}, {}, {{}}, 0};
        QTest::newRow("4 channels: 1 and 2") << ToneRow{wavFloat, 48000, 4, four, {}, {{1000}, {2000}}, 0.05};
        QTest::newRow("4 channels: 4 and 3") << ToneRow{wavFloat, 48000, 4, four, {Mix::Pick, 4, 3}, {{4000}, {3000}}, 0.05};
        QTest::newRow("4 channels: 3 alone") << ToneRow{wavFloat, 48000, 4, four, {Mix::Pick, 3, 0}, {{3000}}, 0.05};
        QTest::newRow("4 channels: mono sum") << ToneRow{wavFloat, 48000, 4, four, {Mix::MonoSum}, {four}, 0.05};
    }

    // Each converted channel carries its tones at their level and nothing else: no other
    // channel's tone, no alias of a tone beyond 22.05 kHz (which would fold back below it), and
    // no more than the dither's flat noise (THD+N below -90 dBFS).
    void tones() {
        QFETCH(ToneRow, row);
        Audio out;
        convertTones(out, row.format, row.rate, row.channels, row.frequencies, 0.5, row.choice);
        if (QTest::currentTestFailed()) return;
        QCOMPARE(out.channels, int(row.carried.size()));
        for (int c = 0; c < out.channels; ++c) {
            const std::vector<double>& carried = row.carried[size_t(c)];
            for (double f : row.frequencies) {
                const double share = 0.5 / double(std::max<size_t>(1, carried.size()));
                const double level = dB(fitTone(out, c, std::min(f, 44100 - f), kSecond / 2, kSecond).amplitude / share);
                const bool present = std::ranges::count(carried, f) == 1;
                QVERIFY2(present ? std::abs(level) <= row.toleranceDb : level < -100,
                         qPrintable(QString("channel %1, %2 Hz: %3 dB").arg(c).arg(f).arg(level)));
            }
            const double tone = carried.empty() ? 1000 : carried[0];
            const double noise = dB(fitTone(out, c, tone, kSecond / 2, kSecond).residualRms * std::sqrt(2.0));
            QVERIFY2(carried.size() > 1 || noise < -90, qPrintable(QString("THD+N %1 dBFS").arg(noise)));
        }
    }

    // A tone ten 16-bit steps high: rounded without dither it shows harmonics at about
    // -115 dBFS; with dither they sink into the noise.
    void quietToneKeepsNoHarmonics() {
        Audio out;
        convertTones(out, kWav24, 44100, 1, {1000}, std::pow(10, -70 / 20.0));
        if (QTest::currentTestFailed()) return;
        const double noisePerBin = 2 * fitTone(out, 0, 1000, kSecond / 2, kSecond).residualRms / std::sqrt(double(kSecond));
        for (int harmonic = 2; harmonic <= 10; ++harmonic) {
            const double level = fitTone(out, 0, 1000.0 * harmonic, kSecond / 2, kSecond).amplitude;
            QVERIFY2(level < 4 * noisePerBin, qPrintable(QString("harmonic %1 at %2 dBFS").arg(harmonic).arg(dB(level))));
        }
    }

    void formats_data() {
        QTest::addColumn<FormatRow>("row");
        const auto I = SampleEncoding::Integer, F = SampleEncoding::Float;
        QTest::newRow("WAV 16-bit 44.1 kHz stereo") << FormatRow{kWav16, 44100, 2, 16, I, false, true};
        QTest::newRow("extensible 16-bit 44.1 kHz") << FormatRow{SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 44100, 1, 16, I, false, true};
        QTest::newRow("big-endian RIFX") << FormatRow{kWav16 | SF_ENDIAN_BIG, 44100, 2, 16, I, true, true};
        QTest::newRow("RF64 16-bit") << FormatRow{SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 44100, 1, 16, I, true, true};
        QTest::newRow("AIFF 16-bit") << FormatRow{SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 44100, 2, 16, I, true, true};
        QTest::newRow("FLAC 16-bit") << FormatRow{SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 2, 16, I, true, true};
        QTest::newRow("WAV 8-bit") << FormatRow{SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 44100, 1, 8, I, true, true};
        QTest::newRow("AIFF 8-bit") << FormatRow{SF_FORMAT_AIFF | SF_FORMAT_PCM_S8, 44100, 1, 8, I, true, true};
        QTest::newRow("4 channels: 1, 2 picked") << FormatRow{kWav16, 44100, 4, 16, I, true, true};
        QTest::newRow("WAV 32-bit 48 kHz") << FormatRow{SF_FORMAT_WAV | SF_FORMAT_PCM_32, 48000, 2, 32, I, true, false};
        QTest::newRow("WAV double 22.05 kHz") << FormatRow{SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 22050, 1, 64, F, true, false};
        QTest::newRow("AIFC float") << FormatRow{SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 44100, 2, 32, F, true, false};
        QTest::newRow("FLAC 24-bit 96 kHz") << FormatRow{SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 2, 24, I, true, false};
        QTest::newRow("WAV mu-law 8 kHz") << FormatRow{SF_FORMAT_WAV | SF_FORMAT_ULAW, 8000, 1, 0, SampleEncoding::Other, true, false};
    }

    // What the probe tells, and what the conversion makes of it: the Repeater's own wave copied
    // byte for byte, 16 bits carried exactly without dither, anything else a 44.1 kHz 16-bit wave.
    void formats() {
        QFETCH(FormatRow, row);
        writeTones(path("in"), row.format, row.rate, row.channels, row.rate / 2 + 8, {1000, 3000}, 0.7);
        const AudioProbe probe = probeAudio(path("in"));
        QVERIFY2(probe.info, probe.message.c_str());
        const AudioInfo& info = *probe.info;
        QCOMPARE(std::tuple(info.sampleRate, info.channels, info.frames, info.bits, info.encoding),
                 std::tuple(row.rate, row.channels, int64_t(row.rate / 2 + 8), row.bits, row.encoding));
        QCOMPARE(std::tuple(info.needsConverting, info.lossless, info.loopChannels),
                 std::tuple(row.needsConverting, row.lossless, std::min(row.channels, 2)));

        QCOMPARE(convert("out.wav").outcome,
                 row.needsConverting ? ConversionResult::Outcome::Converted : ConversionResult::Outcome::Copied);
        if (!row.needsConverting) QCOMPARE(readFile(path("out.wav")), readFile(path("in")));
        const Audio in = readAudio(path("in")), out = readAudio(path("out.wav"));
        QCOMPARE(out.format, row.needsConverting ? kWav16 : row.format);
        QCOMPARE(std::tuple(out.rate, out.channels, out.frames),
                 std::tuple(44100, info.loopChannels, info.loopFrames));
        for (size_t f = 0; row.lossless && f < size_t(in.frames); ++f)
            for (int c = 0; c < out.channels; ++c) QCOMPARE(out.at(f, c), in.at(f, c));
    }

    // The same samples in any container give the same wave, every time.
    void sameSamplesSameWave() {
        std::vector<std::vector<uint8_t>> waves;
        for (int format : {kWav24, kWav24, SF_FORMAT_AIFF | SF_FORMAT_PCM_24, SF_FORMAT_FLAC | SF_FORMAT_PCM_24}) {
            writeTones(path("in"), format, 48000, 2, 30000, {997, 5003}, 0.8);
            QCOMPARE(convert("out.wav").outcome, ConversionResult::Outcome::Converted);
            waves.push_back(readFile(path("out.wav")));
        }
        for (const auto& wave : waves) QCOMPARE(wave, waves.front());
    }

    // A FLAC stream may leave its length out of its header (0 frames recorded): it is counted.
    void flacOfUnrecordedLength() {
        writeTones(path("in"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 1, 4800, {1000}, 0.5);
        std::vector<uint8_t> bytes = readFile(path("in"));
        bytes[21] &= 0xF0;  // the 36-bit length behind "fLaC" and the stream header's first 13 bytes
        std::fill(bytes.begin() + 22, bytes.begin() + 26, uint8_t{0});
        writeFile(path("in"), bytes);
        const ConversionResult result = convert("out.wav");
        QVERIFY2(result.outcome == ConversionResult::Outcome::Converted, result.message.c_str());
        QCOMPARE(std::tuple(result.source->frames, readAudio(path("out.wav")).frames), std::tuple(4800, 4410));
    }

    void level_data() {
        QTest::addColumn<LevelRow>("row");
        const int wavFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        QTest::newRow("48 kHz 24-bit at full scale") << LevelRow{kWav24, 48000, 0.9999, 0, false};
        QTest::newRow("48 kHz float, 1 dB above") << LevelRow{wavFloat, 48000, 1.122, 0, false};
        QTest::newRow("44.1 kHz float above full scale") << LevelRow{wavFloat, 44100, 1.2, 0, false};
        QTest::newRow("gain -0.3 dB: fewer clipped") << LevelRow{kWav24, 48000, 0.9999, -0.3, false};
        QTest::newRow("gain -1 dB: none clipped") << LevelRow{kWav24, 48000, 0.9999, -1, false};
        QTest::newRow("fit") << LevelRow{kWav24, 48000, 0.9999, 0, true};
        QTest::newRow("fit, a quiet source") << LevelRow{kWav24, 48000, 0.5, 0, true};
        QTest::newRow("fit after a gain too small") << LevelRow{wavFloat, 96000, 1.5, -1, true};
        QTest::newRow("44.1 kHz 16-bit, gain -6 dB") << LevelRow{kWav16, 44100, 0.9, -6, false};
    }

    // The samples clipped and the peak the conversion reports, against the true ones: the signal
    // known at every instant, evaluated at 44.1 kHz under the gain. Every sample written lies
    // within three 16-bit steps of that value, clipped to full scale: fitting leaves no sample
    // clipped, a gain lowers the level by its amount.
    void level() {
        QFETCH(LevelRow, row);
        const int64_t frames = row.rate + 1234;
        const double scale = writeOvers(path("in"), row.format, row.rate, 1, frames, row.peak);
        const ConversionResult result = convertAudio({path("in"), path("out.wav"), {}, row.gainDb, row.fit}, m_files, {});
        QVERIFY2(result.outcome == ConversionResult::Outcome::Converted, result.message.c_str());
        const Audio out = readAudio(path("out.wav"));
        const double gain = std::pow(10, result.gainDb / 20);
        int64_t clipped = 0;
        double unscaledPeak = 0, farthest = 0;
        for (int64_t n = 0; n < out.frames; ++n) {
            const double unscaled = scale * oversSignal(double(n) / 44100, double(frames) / row.rate), value = gain * unscaled;
            clipped += value * 32768 >= 32767.5 || value * 32768 < -32768.5;
            unscaledPeak = std::max(unscaledPeak, std::abs(unscaled));
            if (n > 500 && n < out.frames - 500)
                farthest = std::max(farthest, std::abs(out.at(size_t(n), 0) - std::clamp(value, -1.0, 32767 / 32768.0)));
        }
        QVERIFY2(std::abs(double(result.clipped - clipped)) <= 0.01 * double(clipped),
                 qPrintable(QString("%1 clipped, truly %2").arg(result.clipped).arg(clipped)));
        const double peakDb = dB(unscaledPeak * gain);
        QVERIFY2(std::abs(result.peakDb - peakDb) < 0.01, qPrintable(QString("peak %1 dBFS, truly %2").arg(result.peakDb).arg(peakDb)));
        QVERIFY2(farthest * 32768 <= 3, qPrintable(QString("%1 steps off").arg(farthest * 32768)));
        // Fitting lowers the level by the true peak's excess, no more; a quiet source is written as
        // it would be without fitting, byte for byte.
        QCOMPARE(result.clipped == 0, row.fit || row.gainDb <= -1);
        const bool quiet = row.peak < 0.9;
        if (row.fit && quiet) {
            convertAudio({path("in"), path("plain.wav"), {}, row.gainDb, false}, m_files, {});
            QCOMPARE(readFile(path("out.wav")), readFile(path("plain.wav")));
        }
        QVERIFY2(std::abs(result.gainDb - (row.fit && !quiet ? -dB(unscaledPeak) : row.gainDb)) < 0.01,
                 qPrintable(QString("gain %1 dB").arg(result.gainDb)));
    }

    void nonFinite_data() {
        QTest::addColumn<NonFiniteRow>("row");
        const int wavFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
        QTest::newRow("a NaN at 48 kHz") << NonFiniteRow{wavFloat, 48000, 1, {{30000, nan}}};
        QTest::newRow("+Inf and -Inf at 96 kHz") << NonFiniteRow{SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 96000, 1, {{20000, inf}, {70000, -inf}}};
        QTest::newRow("a NaN in the right channel") << NonFiniteRow{wavFloat, 48000, 2, {{40001, nan}}};
        QTest::newRow("a NaN at 44.1 kHz") << NonFiniteRow{wavFloat, 44100, 1, {{30000, nan}}};
        QTest::newRow("a NaN first of AIFC") << NonFiniteRow{SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 48000, 1, {{0, nan}}};
    }

    // A NaN or infinite sample becomes 0 by itself: the wave differs from that of the same
    // samples with a 0 in its place at most within 32 frames of it, and the count is told.
    void nonFinite() {
        QFETCH(NonFiniteRow, row);
        const int64_t frames = row.rate * 2;
        writeTones(path("clean"), row.format, row.rate, row.channels, frames, {997, 1999}, 0.5);
        std::vector<float> samples(size_t(frames * row.channels));
        SF_INFO info{};
        SNDFILE* file = sf_open(path("clean").c_str(), SFM_READ, &info);
        sf_readf_float(file, samples.data(), frames);
        sf_close(file);
        for (const char* name : {"clean", "in"}) {
            for (const auto& [at, value] : row.bad) samples[size_t(at)] = name == std::string("in") ? value : 0;
            info = SF_INFO{0, row.rate, row.channels, row.format, 0, 0};
            file = sf_open(path(name).c_str(), SFM_WRITE, &info);
            sf_writef_float(file, samples.data(), frames);
            sf_close(file);
        }
        const ConversionResult dirty = convert("dirty.wav");
        QCOMPARE(dirty.nonFinite, int64_t(row.bad.size()));
        QCOMPARE(convertAudio({path("clean"), path("clean.wav"), {}}, m_files, {}).nonFinite, 0);
        const Audio clean = readAudio(path("clean.wav")), out = readAudio(path("dirty.wav"));
        QCOMPARE(out.frames, clean.frames);
        for (int64_t n = 0; n < out.frames; ++n)
            for (int c = 0; c < out.channels; ++c) {
                if (out.at(size_t(n), c) == clean.at(size_t(n), c)) continue;
                const bool near = std::ranges::any_of(row.bad, [&](const auto& bad) {
                    return std::abs(double(bad.first / row.channels) * 44100 / row.rate - double(n)) <= 32;
                });
                QVERIFY2(near, qPrintable(QString("frame %1 channel %2 differs").arg(n).arg(c)));
            }
    }

    void loopLength_data() {
        QTest::addColumn<LengthRow>("row");
        QTest::newRow("stereo 4 min") << LengthRow{2, 240, {}};
        QTest::newRow("stereo 4 min 1 s")
            << LengthRow{2, 241, "in is 4 min 1 s long once converted: a stereo loop holds at most 4 min 0 s"};
        QTest::newRow("mono 6 min 20 s") << LengthRow{1, 380, {}};
        QTest::newRow("mono 6 min 21 s")
            << LengthRow{1, 381, "in is 6 min 21 s long once converted: a mono loop holds at most 6 min 20 s"};
    }

    // Before converting, the probe tells whether the loop writer would take the result.
    void loopLength() {
        QFETCH(LengthRow, row);
        writeTones(path("in"), SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, row.channels, row.seconds * 8000, {1000}, 0.1);
        const AudioInfo info = *probeAudio(path("in")).info;
        QCOMPARE(info.fitsLoop, row.message.isEmpty());
        if (!info.fitsLoop) QCOMPARE(QString::fromStdString(loopTooLongMessage("in", info)), row.message);
    }

    void refusals_data() {
        QTest::addColumn<RefusalRow>("row");
        const QString unreadable = "Cannot read %1: .+";
        QTest::newRow("missing") << RefusalRow{{}, "out.wav", unreadable};
        QTest::newRow("text") << RefusalRow{"not audio at all, only some words", "out.wav", unreadable};
        QTest::newRow("no format chunk") << RefusalRow{QByteArray("RIFF\x24\0\0\0WAVEdata\0\0\0\0", 20), "out.wav", unreadable};
        QTest::newRow("no channel 5") << RefusalRow{"4", "out.wav", "%1 has 4 channels: there is no channel 5"};
        QTest::newRow("target folder missing") << RefusalRow{"1", "no/out.wav", "Cannot write %2: .+ No such file or directory"};
    }

    // The reason, the file it concerns, and nothing left behind.
    void refusals() {
        QFETCH(RefusalRow, row);
        auto& [bytes, target, message] = row;
        QFile::remove(m_dir.filePath("in"));
        if (bytes.size() == 1) writeTones(path("in"), kWav16, 44100, bytes.toInt(), 100, {1000}, 0.5);
        else if (!bytes.isNull()) writeFile(path("in"), {bytes.begin(), bytes.end()});
        QFile::remove(m_dir.filePath("out.wav"));
        const int before = entriesIn(m_dir.path().toStdString());
        const ConversionResult result = convert(target.toStdString(), {ChannelChoice::Mix::Pick, 1, 5});
        QCOMPARE(result.outcome, ConversionResult::Outcome::Failed);
        message.replace("%1", QRegularExpression::escape(m_dir.filePath("in")))
            .replace("%2", QRegularExpression::escape(m_dir.filePath(target)));
        const QRegularExpression expected("^" + message + "$");
        QVERIFY2(expected.match(QString::fromStdString(result.message)).hasMatch(), result.message.c_str());
        QCOMPARE(entriesIn(m_dir.path().toStdString()), before);
    }
};

QTEST_GUILESS_MAIN(TestAudioConversion)
#include "tst_audioconversion.moc"
