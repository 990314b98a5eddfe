#include <QTest>

#include <cmath>
#include <memory>

#include "Wav2RepBench.h"

using namespace brenvik;
using namespace brenvik::test;

Q_DECLARE_METATYPE(std::vector<uint8_t>)

class TestWaveOpener : public QObject {
    Q_OBJECT
private slots:
    void init() { m_bench = std::make_unique<Wav2RepBench>(); }
    void refused_data();
    void refused();
    void missingFile();
    void acceptsMono();
    void workedExampleStereo();
    void fourChannels();
    void extraChunkSkipped();
    void shortWave();
    void refusedStereoAfterMono();
    void reopenKeepsBeats();
    void stereoWithLeftOnTrack2();
    void monoAfterStereoResetsRight();
    void dialogAndCancel();

private:
    std::unique_ptr<Wav2RepBench> m_bench;
};

namespace {

const std::string kError = "Error in fileOpeing()";
const std::string kRate = "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of ";
const std::string kBits = "Repeater supports 16 bit audio only, this file is ";

}  // namespace

void TestWaveOpener::refused_data() {
    QTest::addColumn<std::vector<uint8_t>>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("critical");
    QTest::addColumn<QString>("waveMode");  // the layout switches before the format checks

    const auto samples = patternBytes(100);
    QTest::newRow("no data chunk") << riff({fmtChunk(2, 44100, 16), chunk("LIST", 4, {1, 2, 3, 4})})
                                   << QString::fromStdString(kError) << true << "";
    // The pad byte makes the walk read "\0dat" as a tag one byte early and jump past the end.
    QTest::newRow("odd chunk with pad byte")
        << riff({fmtChunk(1, 44100, 16), chunk("junk", 3, {7, 7, 7, 0}), chunk("data", 100, samples)})
        << QString::fromStdString(kError) << true << "";
    // Without a "fmt " chunk the fields come from offsets 9, 11 and 21: "AV" gives 22081 channels
    // and "Edat" the rate 0x74616445 = 1952539717.
    QTest::newRow("data before fmt") << riff({chunk("data", 100, samples), fmtChunk(1, 44100, 16)})
                                     << QString::fromStdString(kRate + "1952539.717kHz") << false << "";
    QTest::newRow("0 channels") << wave(0, samples) << QString::fromStdString(kError) << true << "";
    QTest::newRow("8 bit") << wave(1, samples, 44100, 8) << QString::fromStdString(kBits + "8 bit") << false << "mono";
    QTest::newRow("24 bit") << wave(2, samples, 44100, 24) << QString::fromStdString(kBits + "24 bit") << false
                            << "stereo";
    QTest::newRow("22.05 kHz") << wave(1, samples, 22050) << QString::fromStdString(kRate + "22.05kHz") << false
                               << "mono";
    QTest::newRow("48 kHz and 8 bit: only the rate")
        << wave(2, samples, 48000, 8) << QString::fromStdString(kRate + "48kHz") << false << "stereo";
    // 2147483632 \ 22050 = 97392 beats: beyond 16 bits.
    QTest::newRow("size far beyond the file")
        << riff({fmtChunk(1, 44100, 16), chunk("data", 0x7FFFFFF0, samples)}) << QString::fromStdString(kError)
        << true << "mono";
    QTest::newRow("negative size") << riff({fmtChunk(1, 44100, 16), chunk("data", -65536, samples)})
                                   << QString::fromStdString(kError) << true << "mono";
    QTest::newRow("empty file") << std::vector<uint8_t>{} << QString::fromStdString(kError) << true << "";
    auto truncated = wave(1, samples);
    truncated.resize(42);  // the data tag is there, its size is cut short
    QTest::newRow("truncated header") << truncated << QString::fromStdString(kError) << true << "";
}

// Each refusal shows exactly its message and leaves the file, the tempo fields and the source
// path as they were; only the layout and waveMode follow the channel count.
void TestWaveOpener::refused() {
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
    QCOMPARE(b.window.LoopFile.text, std::string());
    QCOMPARE(b.window.Text1[1].text, std::string());
    QVERIFY(b.window.tempoTable.empty());
    QCOMPARE(test::readFile(path), file);
    QCOMPARE(entriesIn(b.root()), 1);
}

void TestWaveOpener::missingFile() {
    Wav2RepBench& b = *m_bench;
    b.open(b.file("nothing.wav"));
    QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{"File does not exist!"});
    QCOMPARE(b.platform.messages()[0].icon, MessageIcon::Critical);
    QVERIFY(b.globals.waveMode.empty());
}

void TestWaveOpener::acceptsMono() {
    Wav2RepBench& b = *m_bench;
    QVERIFY(!b.window.toolButton[2].enabled);
    const std::string path = b.write("mono.wav", wave(1, patternBytes(88200)));
    b.open(path);
    QVERIFY(b.platform.messages().empty());
    QCOMPARE(b.globals.waveMode, std::string("mono"));
    QCOMPARE(b.window.LeftHeader.text, std::string("Mono"));
    QVERIFY(!b.window.RightHeader.visible && !b.window.rightFrame.visible && !b.window.RightPan.visible);
    QVERIFY(!b.window.r1.visible && !b.window.rightBlock1.visible);
    QVERIFY(b.window.toolButton[2].enabled && b.window.leftFrame.enabled && b.window.tempoCntrl.enabled);
    QCOMPARE(b.window.LoopFile.text, path);
    QCOMPARE(b.window.maxBeats, int16_t(4));  // 88200 \ 22050
}

// 1,411,200 stereo bytes: 705,600 per channel, 32 beats, tempos 7.5 i.
void TestWaveOpener::workedExampleStereo() {
    Wav2RepBench& b = *m_bench;
    b.open(b.write("st.wav", wave(2, patternBytes(1411200))));
    QVERIFY(b.platform.messages().empty());
    Wav2Rep& w = b.window;
    QCOMPARE(w.maxBeats, int16_t(32));
    QCOMPARE(w.tempoTable.size(), size_t(33));
    const double minutes = 705600.0 / 2 / 44100 / 60;
    for (int i = 1; i <= 32; ++i) {
        const float q = static_cast<float>(minutes / i);
        QCOMPARE(w.tempoTable[static_cast<size_t>(i - 1)], static_cast<float>(1.0 / static_cast<double>(q)));
        QVERIFY(std::abs(w.tempoTable[static_cast<size_t>(i - 1)] - 7.5f * static_cast<float>(i)) < 1e-4f);
    }
    QCOMPARE(w.tempoTable[32], 0.0f);
    QCOMPARE(w.defaultTempoIndex, int16_t(16));
    QCOMPARE(w.Text1[1].text, std::string("127.5"));
    QCOMPARE(w.Text1[2].text, std::string("17"));
    QCOMPARE(w.tempoCntrl.min, int16_t(32));
    QCOMPARE(w.tempoCntrl.max, int16_t(0));
    QCOMPARE(w.tempoCntrl.value, int16_t(16));
    QCOMPARE(w.tempoCntrl.largeChange, int16_t(10));
    QCOMPARE(w.barChoices[0], 17.0f);  // the change handling ran: 17 beats, prime
    QCOMPARE(w.LeftHeader.text, std::string("Left Channel"));
    QVERIFY(w.RightHeader.visible && w.rightFrame.visible && w.RightPan2.visible && w.RightPitch2.visible);
    QVERIFY(w.r1.visible && w.r2.visible && w.r3.visible && w.r4.visible && w.rightBlock1.visible);
    QVERIFY(w.Option[1].selected && w.Option[6].selected && !w.Option[5].selected);
    QVERIFY(!w.Option[2].enabled && !w.Option[5].enabled);
    QVERIFY(w.Option[1].enabled && w.Option[3].enabled && w.Option[7].enabled && w.Option[8].enabled);
}

// Neither layout: the channel count only divides the data.
void TestWaveOpener::fourChannels() {
    Wav2RepBench& b = *m_bench;
    b.open(b.write("four.wav", wave(4, patternBytes(88200 * 2))));
    QVERIFY(b.platform.messages().empty());
    QVERIFY(b.globals.waveMode.empty());
    QCOMPARE(b.window.maxBeats, int16_t(2));  // 176400 \ 4 \ 22050
    QVERIFY(b.window.toolButton[2].enabled);
}

void TestWaveOpener::extraChunkSkipped() {
    Wav2RepBench& b = *m_bench;
    const auto data = patternBytes(44100);
    b.open(b.write("list.wav", riff({fmtChunk(1, 44100, 16), chunk("LIST", 5, {1, 2, 3, 4, 5}),
                                     chunk("data", 44100, data)})));
    QVERIFY(b.platform.messages().empty());
    QCOMPARE(b.window.maxBeats, int16_t(2));
}

// Less than a quarter second: one table entry, and the bar stays where it stands.
void TestWaveOpener::shortWave() {
    Wav2RepBench& b = *m_bench;
    b.open(b.write("short.wav", wave(1, {})));
    QVERIFY(b.platform.messages().empty());
    QCOMPARE(b.window.tempoTable, std::vector<float>{0.0f});
    QCOMPARE(b.window.Text1[1].text, std::string("0.0"));
    QCOMPARE(b.window.Text1[2].text, std::string("1"));
    QCOMPARE(b.window.tempoCntrl.min, int16_t(0));
    QCOMPARE(b.window.tempoCntrl.max, int16_t(0));
}

void TestWaveOpener::refusedStereoAfterMono() {
    Wav2RepBench& b = *m_bench;
    const std::string mono = b.write("mono.wav", wave(1, patternBytes(88200)));
    b.open(mono);
    b.open(b.write("st48.wav", wave(2, patternBytes(88200), 48000)));
    QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{kRate + "48kHz"});
    QCOMPARE(b.globals.waveMode, std::string("stereo"));
    QVERIFY(b.window.RightHeader.visible);
    QCOMPARE(b.window.LoopFile.text, mono);
    QCOMPARE(b.window.maxBeats, int16_t(4));
}

// The same file again leaves the tempo bar where it is: no change handling, the beats stay.
void TestWaveOpener::reopenKeepsBeats() {
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
    QCOMPARE(b.window.Text1[2].text, std::string("3"));
    QCOMPARE(b.window.Text1[3].text, std::string("1"));
}

void TestWaveOpener::stereoWithLeftOnTrack2() {
    Wav2RepBench& b = *m_bench;
    b.window.selectOption(2);
    b.open(b.write("st.wav", wave(2, patternBytes(1000))));
    Wav2Rep& w = b.window;
    QVERIFY(w.Option[5].selected && !w.Option[6].selected);
    QVERIFY(!w.Option[6].enabled && !w.Option[1].enabled);
    QVERIFY(w.Option[2].enabled && w.Option[7].enabled);
    QCOMPARE(w.rightTrack(), 1);

    b.window.selectOption(3);  // left on 3, right on 1
    b.open(b.write("st2.wav", wave(2, patternBytes(1000))));
    QVERIFY(w.Option[6].selected && !w.Option[7].enabled && !w.Option[2].enabled);
}

void TestWaveOpener::monoAfterStereoResetsRight() {
    Wav2RepBench& b = *m_bench;
    b.open(b.write("st.wav", wave(2, patternBytes(1000))));
    b.window.setRightPan(40);
    b.window.setRightPitch(-150);
    QCOMPARE(b.window.RightPan2.text, std::string("R 40"));
    b.open(b.write("m.wav", wave(1, patternBytes(1000))));
    QCOMPARE(b.window.RightPan.value, int16_t(0));
    QCOMPARE(b.window.RightPitch.value, int16_t(0));
    QCOMPARE(b.window.RightPan2.text, std::string("Center"));
    QCOMPARE(b.window.RightPitch2.text, std::string("0"));
    QVERIFY(!b.window.RightHeader.visible && !b.window.r3.visible && !b.window.RightPitch2.visible);
    QCOMPARE(b.window.LeftHeader.text, std::string("Mono"));
    for (int k = 1; k <= 4; ++k) QVERIFY(b.window.Option[k].enabled);
}

// A cancelled dialog keeps its last name: nothing chosen yet means no file.
void TestWaveOpener::dialogAndCancel() {
    Wav2RepBench& b = *m_bench;
    b.globals.initWaveDir = "/waves";
    b.platform.chooseNextFile(std::nullopt);
    b.window.Toolbar1_ButtonClick(1);
    QCOMPARE(b.platform.messageTexts(), std::vector<std::string>{"File does not exist!"});
    const FileDialog& shown = b.platform.dialogsShown().at(0);
    QCOMPARE(shown.initialDir, std::string("/waves"));
    QCOMPARE(shown.defaultExt, std::string(".wav"));
    QCOMPARE(shown.filter, std::string(".wav files (*.wav)|*.wav"));
    QCOMPARE(shown.filterIndex, 1);

    const std::string path = b.write("m.wav", wave(1, patternBytes(1000)));
    b.open(path);
    b.window.LoopFile.text.clear();
    b.platform.chooseNextFile(std::nullopt);
    b.window.openWave_Click();
    QCOMPARE(b.window.LoopFile.text, path);
    QCOMPARE(b.platform.messages().size(), size_t(1));
}

QTEST_APPLESS_MAIN(TestWaveOpener)
#include "tst_waveopener.moc"
