#include <QTest>

#include <cmath>
#include <memory>

#include "Wav2RepBench.h"

using namespace brenvik;
using namespace brenvik::test;

Q_DECLARE_METATYPE(std::vector<uint8_t>)

namespace {

const QString kError = "Error in fileOpeing()";
const QString kRate = "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of ";
const QString kBits = "Repeater supports 16 bit audio only, this file is ";

}  // namespace

class TestWaveOpener : public QObject {
    Q_OBJECT
    std::unique_ptr<Wav2RepBench> m_bench;

private slots:
    void init() { m_bench = std::make_unique<Wav2RepBench>(); }

    void refused_data() {
        QTest::addColumn<std::vector<uint8_t>>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("critical");
        QTest::addColumn<QString>("waveMode");  // the layout switches before the format checks
        const auto samples = patternBytes(100);
        const auto fmt = fmtChunk(1, 44100, 16);
        QTest::newRow("no data chunk") << riff({fmtChunk(2, 44100, 16), chunk("LIST", 4, {1, 2, 3, 4})}) << kError
                                       << true << "";
        // The pad byte makes the walk read "\0dat" as a tag one byte early and jump past the end.
        QTest::newRow("odd chunk with pad byte")
            << riff({fmt, chunk("junk", 3, {7, 7, 7, 0}), chunk("data", 100, samples)}) << kError << true << "";
        // Without a "fmt " chunk the fields come from offsets 9, 11 and 21: "AV" gives 22081
        // channels and "Edat" the rate 0x74616445 = 1952539717.
        QTest::newRow("data before fmt") << riff({chunk("data", 100, samples), fmt}) << kRate + "1952539.717kHz"
                                         << false << "";
        QTest::newRow("0 channels") << wave(0, samples) << kError << true << "";
        QTest::newRow("8 bit") << wave(1, samples, 44100, 8) << kBits + "8 bit" << false << "mono";
        QTest::newRow("22.05 kHz") << wave(1, samples, 22050) << kRate + "22.05kHz" << false << "mono";
        QTest::newRow("48 kHz and 8 bit: only the rate") << wave(2, samples, 48000, 8) << kRate + "48kHz" << false
                                                         << "stereo";
        // 2147483632 \ 22050 = 97392 beats: beyond 16 bits.
        QTest::newRow("size far beyond the file") << riff({fmt, chunk("data", 0x7FFFFFF0, samples)}) << kError
                                                  << true << "mono";
        QTest::newRow("negative size") << riff({fmt, chunk("data", -65536, samples)}) << kError << true << "mono";
        QTest::newRow("empty file") << std::vector<uint8_t>{} << kError << true << "";
        auto truncated = wave(1, samples);
        truncated.resize(42);  // the data tag is there, its size is cut short
        QTest::newRow("truncated header") << truncated << kError << true << "";
    }

    // Each refusal shows exactly its message and leaves the file, the tempo fields and the
    // source path as they were; only the layout and waveMode follow the channel count.
    void refused() {
        QFETCH(std::vector<uint8_t>, file);
        QFETCH(QString, message);
        QFETCH(bool, critical);
        QFETCH(QString, waveMode);
        Wav2RepBench& b = *m_bench;
        const std::string path = b.write("in.wav", file);
        b.open(path);
        QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(b.platform.messages()[0].icon, critical ? MessageIcon::Critical : MessageIcon::None);
        QCOMPARE(b.platform.messages()[0].title, std::string("Brenvik"));
        QCOMPARE(QString::fromStdString(b.globals.waveMode), waveMode);
        QCOMPARE((std::vector<std::string>{b.window.LoopFile.text, b.window.Text1[1].text}),
                 (std::vector<std::string>{"", ""}));
        QVERIFY(b.window.tempoTable.empty());
        QCOMPARE(test::readFile(path), file);
        QCOMPARE(entriesIn(b.root()), 1);
    }

    void accepted_data() {
        QTest::addColumn<std::vector<uint8_t>>("file");
        QTest::addColumn<QString>("waveMode");
        QTest::addColumn<int>("maxBeats");
        QTest::addColumn<QString>("tempo");
        QTest::addColumn<QString>("bars");
        QTest::newRow("mono, 88200 \\ 22050") << wave(1, patternBytes(88200)) << "mono" << 4 << "180.0" << "3";
        // Neither layout: the channel count only divides the data, 176400 \ 4 \ 22050.
        QTest::newRow("four channels") << wave(4, patternBytes(88200 * 2)) << "" << 2 << "240.0" << "2";
        QTest::newRow("extra chunk skipped")
            << riff({fmtChunk(1, 44100, 16), chunk("LIST", 5, {1, 2, 3, 4, 5}), chunk("data", 44100, patternBytes(44100))})
            << "mono" << 2 << "240.0" << "2";
        // Less than a quarter second: one table entry, and the bar stays where it stands.
        QTest::newRow("short wave") << wave(1, {}) << "mono" << 0 << "0.0" << "1";
    }

    void accepted() {
        QFETCH(std::vector<uint8_t>, file);
        QFETCH(QString, waveMode);
        QFETCH(int, maxBeats);
        QFETCH(QString, tempo);
        QFETCH(QString, bars);
        Wav2RepBench& b = *m_bench;
        Wav2Rep& w = b.window;
        QVERIFY(!w.toolButton[2].enabled);
        const std::string path = b.write("in.wav", file);
        b.open(path);
        QVERIFY(b.platform.messages().empty());
        QCOMPARE(QString::fromStdString(b.globals.waveMode), waveMode);
        QVERIFY(w.toolButton[2].enabled && w.leftFrame.enabled && w.tempoCntrl.enabled);
        QCOMPARE(w.LoopFile.text, path);
        QCOMPARE(w.maxBeats, int16_t(maxBeats));
        QCOMPARE(w.tempoTable.size(), size_t(maxBeats + 1));
        QCOMPARE(w.tempoTable.back(), 0.0f);
        QCOMPARE((QStringList{QString::fromStdString(w.Text1[1].text), QString::fromStdString(w.Text1[2].text)}),
                 (QStringList{tempo, bars}));
        QCOMPARE((QList<int>{w.tempoCntrl.min, w.tempoCntrl.max}), (QList<int>{maxBeats, 0}));
    }

    // 1,411,200 stereo bytes: 705,600 per channel, 32 beats, tempos 7.5 i. The window's test
    // checks what the worked example shows.
    void workedExampleStereo() {
        Wav2RepBench& b = *m_bench;
        b.open(b.write("st.wav", wave(2, patternBytes(1411200))));
        QVERIFY(b.platform.messages().empty());
        Wav2Rep& w = b.window;
        QCOMPARE(w.maxBeats, int16_t(32));
        QCOMPARE(w.tempoTable.size(), size_t(33));
        const double minutes = 705600.0 / 2 / 44100 / 60;
        for (int i = 1; i <= 32; ++i) {  // each step single precision
            const float q = static_cast<float>(minutes / i);
            QCOMPARE(w.tempoTable[size_t(i - 1)], static_cast<float>(1.0 / static_cast<double>(q)));
            QVERIFY(std::abs(w.tempoTable[size_t(i - 1)] - 7.5f * static_cast<float>(i)) < 1e-4f);
        }
        QCOMPARE(w.tempoTable[32], 0.0f);
        QCOMPARE(w.defaultTempoIndex, int16_t(16));
        QCOMPARE(w.tempoCntrl.largeChange, int16_t(10));
        QCOMPARE(w.barChoices[0], 17.0f);  // the change handling ran: 17 beats, prime
        QVERIFY(w.Option[1].selected && w.Option[6].selected && !w.Option[5].selected);
        QVERIFY(w.Option[1].enabled && w.Option[3].enabled && w.Option[7].enabled && w.Option[8].enabled);
    }

    void refusedStereoAfterMono() {
        Wav2RepBench& b = *m_bench;
        const std::string mono = b.write("mono.wav", wave(1, patternBytes(88200)));
        b.open(mono);
        b.open(b.write("st48.wav", wave(2, patternBytes(88200), 48000)));
        QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{(kRate + "48kHz").toStdString()});
        QCOMPARE(b.globals.waveMode, std::string("stereo"));
        QVERIFY(b.window.RightHeader.visible);
        QCOMPARE(b.window.LoopFile.text, mono);
        QCOMPARE(b.window.maxBeats, int16_t(4));
    }

    // The same file again leaves the tempo bar where it is: no change handling, the beats stay.
    void reopenKeepsBeats() {
        Wav2RepBench& b = *m_bench;
        const std::string path = b.write("m.wav", wave(1, patternBytes(23 * 22050)));  // default 11: 12 beats
        b.open(path);
        b.window.ScrollBeats_Click();
        QCOMPARE(b.window.Text1[3].text, std::string("2"));
        b.open(path);
        QCOMPARE(b.window.Text1[3].text, std::string("2"));
        QCOMPARE(b.window.Text1[2].text, std::string("12"));  // the opener always writes the default bars
        // A shorter wave pulls the bar into its range and back to its own default.
        b.open(b.write("s.wav", wave(1, patternBytes(5 * 22050))));
        QCOMPARE(b.window.tempoCntrl.value, int16_t(2));
        QCOMPARE((std::vector<std::string>{b.window.Text1[2].text, b.window.Text1[3].text}),
                 (std::vector<std::string>{"3", "1"}));
    }

    void stereoWithLeftOnTrack2() {
        Wav2RepBench& b = *m_bench;
        Wav2Rep& w = b.window;
        w.selectOption(2);
        b.open(b.write("st.wav", wave(2, patternBytes(1000))));
        QVERIFY(w.Option[5].selected && !w.Option[6].selected);
        QVERIFY(!w.Option[6].enabled && !w.Option[1].enabled);
        QVERIFY(w.Option[2].enabled && w.Option[7].enabled);
        QCOMPARE(w.rightTrack(), 1);

        w.selectOption(3);  // left on 3, right on 1
        b.open(b.write("st2.wav", wave(2, patternBytes(1000))));
        QVERIFY(w.Option[6].selected && !w.Option[7].enabled && !w.Option[2].enabled);
    }

    // The window's test checks the mono layout itself.
    void monoAfterStereoResetsRight() {
        Wav2RepBench& b = *m_bench;
        Wav2Rep& w = b.window;
        b.open(b.write("st.wav", wave(2, patternBytes(1000))));
        w.setRightPan(40);
        w.setRightPitch(-150);
        QCOMPARE(w.RightPan2.text, std::string("R 40"));
        b.open(b.write("m.wav", wave(1, patternBytes(1000))));
        QCOMPARE((QList<int>{w.RightPan.value, w.RightPitch.value}), (QList<int>{0, 0}));
        QCOMPARE((std::vector<std::string>{w.RightPan2.text, w.RightPitch2.text}),
                 (std::vector<std::string>{"Center", "0"}));
        QVERIFY(!w.RightPan.visible && !w.RightPitch2.visible);
    }

    // A cancelled dialog keeps its last name: nothing chosen yet means no file.
    void dialogAndCancel() {
        Wav2RepBench& b = *m_bench;
        b.globals.initWaveDir = "/waves";
        b.platform.chooseNextFile(std::nullopt);
        b.window.Toolbar1_ButtonClick(1);
        QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{"File does not exist!"});
        QCOMPARE(b.platform.messages()[0].icon, MessageIcon::Critical);
        QVERIFY(b.globals.waveMode.empty());
        const FileDialog& shown = b.platform.dialogsShown().at(0);
        QCOMPARE((std::vector<std::string>{shown.initialDir, shown.defaultExt, shown.filter}),
                 (std::vector<std::string>{"/waves", ".wav", ".wav files (*.wav)|*.wav"}));
        QCOMPARE(shown.filterIndex, 1);

        const std::string path = b.write("m.wav", wave(1, patternBytes(1000)));
        b.open(path);
        b.window.LoopFile.text.clear();
        b.platform.chooseNextFile(std::nullopt);
        b.window.openWave_Click();
        QCOMPARE(b.window.LoopFile.text, path);
        QCOMPARE(b.platform.messages().size(), size_t(1));
    }
};

QTEST_APPLESS_MAIN(TestWaveOpener)
#include "tst_waveopener.moc"
