#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "AudioImport.h"
#include "CardNames.h"
#include "LevelSignal.h"
#include "ConvertedCache.h"
#include "LoopDescription.h"
#include "LoopFixture.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "Numbers.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"
#include "TestInteraction.h"
#include "ToneMeasure.h"
#include "UserLibrary.h"
#include "WaveToRepeaterModel.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(std::vector<uint8_t>)

namespace {
struct ImportRow {
    int format, rate, channels, frames;  // the tones written, or none: a text file
    bool opens;
    QString message, summary;  // the message shown, or what was converted
};
const QString kRate = "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of ";
const QString kError = "Error in fileOpeing()";
}  // namespace
Q_DECLARE_METATYPE(ImportRow)

class TestWaveToRepeaterModel : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestInteraction> m_ui;
    ScriptedFiles m_files;
    Preferences m_preferences;
    std::unique_ptr<WaveToRepeaterModel> m_model;

    std::string file(const std::string& name) const { return m_dir->path().toStdString() + "/" + name; }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
        writeFile(file(name), bytes);
        return file(name);
    }
    void open(const std::string& path) {
        m_ui->chooseNextFile(path);
        m_model->open();
    }
    int cachedWaves() const {
        const std::string cache = m_files.userCacheFolder() + "/Brenvik/converted";
        return fs::exists(cache) ? entriesIn(cache) : 0;
    }
    std::vector<int> shownCounts() const {  // bars, beats per bar, division
        const LoopSettings& s = m_model->settings();
        return {m_model->barsShown().value_or(-1), s.beatsPerBar, s.division};
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_ui = std::make_unique<TestInteraction>();
        m_preferences = Preferences{m_dir->path().toStdString(), m_dir->path().toStdString(), 45, true};
        m_model = std::make_unique<WaveToRepeaterModel>(m_preferences, m_files, *m_ui);
        m_model->load();
        fs::remove_all(m_files.userCacheFolder());
    }

    void refused_data() {
        QTest::addColumn<std::vector<uint8_t>>("bytes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("critical");
        const auto samples = patternBytes(100);
        const auto fmt = fmtChunk(1, 44100, 16);
        // The pad byte makes the walk read "\0dat" as a tag one byte early and jump past the end.
        QTest::newRow("odd chunk with pad byte")
            << riff({fmt, chunk("junk", 3, {7, 7, 7, 0}), chunk("data", 100, samples)}) << kError << true;
        // Without a "fmt " chunk the fields come from offsets 9, 11 and 21: "Edat" is the rate.
        QTest::newRow("data before fmt") << riff({chunk("data", 100, samples), fmt}) << kRate + "1952539.717kHz"
                                         << false;
        QTest::newRow("0 channels") << wave(0, samples) << kError << true;
        QTest::newRow("48 kHz and 8 bit: only the rate") << wave(2, samples, 48000, 8) << kRate + "48kHz" << false;
        QTest::newRow("8 bit") << wave(1, samples, 44100, 8)
                               << "Repeater supports 16 bit audio only, this file is 8 bit" << false;
        // 2147483632 \ 22050 = 97392 beats: beyond 16 bits.
        QTest::newRow("size far beyond the file") << riff({fmt, chunk("data", 0x7FFFFFF0, samples)}) << kError
                                                  << true;
    }

    // Each refusal shows exactly its message and leaves the window empty: no layout, no controls.
    void refused() {
        QFETCH(std::vector<uint8_t>, bytes);
        QFETCH(QString, message);
        QFETCH(bool, critical);
        m_ui->setBusy(true);
        open(write("in.wav", bytes));
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(m_ui->messages()[0].icon, critical ? MessageIcon::Critical : MessageIcon::None);
        // A refused rate or width is one the window converts itself.
        QCOMPARE(m_ui->messages()[0].detail ==
                     "File > Import and Convert opens it as a 44.1 kHz 16-bit copy",
                 !critical);
        QCOMPARE(m_ui->busy(), !critical);  // the error path resets the pointer
        QCOMPARE(m_model->channelMode(), std::nullopt);
        QVERIFY(!m_model->loopControlsEnabled());
        QVERIFY(m_model->wavePath().empty() && !m_model->tempoShown());
    }

    // A refused wave after an accepted one changes nothing: the save writes exactly what the
    // accepted wave alone writes.
    void refusedAfterAcceptedSavesTheAcceptedOne_data() {
        QTest::addColumn<int>("channels");
        QTest::addColumn<std::vector<uint8_t>>("refused");
        QTest::newRow("stereo 48 kHz after mono") << 1 << wave(2, patternBytes(88200), 48000);
        QTest::newRow("mono 48 kHz after stereo") << 2 << wave(1, patternBytes(88200), 48000);
        QTest::newRow("mono broken after stereo") << 2 << wave(0, patternBytes(88200));
    }
    void refusedAfterAcceptedSavesTheAcceptedOne() {
        QFETCH(int, channels);
        QFETCH(std::vector<uint8_t>, refused);
        fs::create_directory(file("card"));
        m_preferences.loopFolder = file("card");
        m_model->load();
        const std::string accepted = write("accepted.wav", wave(static_cast<int16_t>(channels), patternBytes(88200)));
        const auto saveAs = [&](const std::string& number, bool refuseFirst) {
            open(accepted);
            if (refuseFirst) open(write("refused.wav", refused));
            QCOMPARE(m_model->wavePath(), accepted);
            m_model->setLoopNumberText(number);
            m_model->save();
        };
        saveAs("1", false);
        saveAs("2", true);
        for (const std::string name : {"loopinfo.ldf", "track1.wav", "track2.wav"})
            QCOMPARE(fs::exists(file("card/LOOP2/" + name)) ? readFile(file("card/LOOP2/" + name)) : std::vector<uint8_t>{},
                     fs::exists(file("card/LOOP1/" + name)) ? readFile(file("card/LOOP1/" + name)) : std::vector<uint8_t>{});
        QCOMPARE(m_model->channelMode(), std::optional(channels == 1 ? ChannelMode::Mono : ChannelMode::Stereo));
    }

    // 1,411,200 stereo bytes: 705,600 per channel, 32 beats, tempos 7.5 i; the bar in the middle.
    void workedExampleStereo() {
        const std::string path = write("st.wav", wave(2, patternBytes(1411200)));
        open(path);
        QVERIFY(m_ui->messages().empty());
        QCOMPARE(m_model->wavePath(), path);
        QCOMPARE(m_model->maxBeats(), int16_t(32));
        QCOMPARE(m_model->tempoPosition(), int16_t(16));
        QCOMPARE(oneDecimal(m_model->tempoShown().value()), std::string("127.5"));
        QCOMPARE(shownCounts(), (std::vector<int>{17, 1, 4}));
        QVERIFY(m_model->showsRightChannel() && m_model->loopControlsEnabled());
        QCOMPARE(m_model->channel(Channel::Right).track, 2);
        QVERIFY(!m_model->trackEnabled(Channel::Left, 2) && !m_model->trackEnabled(Channel::Right, 1));
        QVERIFY(m_model->trackEnabled(Channel::Left, 3) && m_model->trackEnabled(Channel::Right, 4));
    }

    // The same file again leaves the tempo bar where it is: no tempo handling, the beats stay.
    void reopenKeepsBeats() {
        const std::string path = write("m.wav", wave(1, patternBytes(23 * 22050)));  // default 11: 12 beats
        open(path);
        m_model->stepBeatsPerBar();
        QCOMPARE(shownCounts(), (std::vector<int>{6, 2, 4}));
        open(path);
        QCOMPARE(shownCounts(), (std::vector<int>{12, 2, 4}));  // the opener always shows the default bars
        // A shorter wave pulls the bar into its range and back to its own default.
        open(write("s.wav", wave(1, patternBytes(5 * 22050))));
        QCOMPARE(m_model->tempoPosition(), int16_t(2));
        QCOMPARE(shownCounts(), (std::vector<int>{3, 1, 4}));
    }

    // Stereo puts the right channel on track 2, or on 1 when the left one holds 2; mono resets
    // the right channel's pan and pitch and frees every track.
    void layouts() {
        m_model->selectTrack(Channel::Left, 2);
        open(write("st.wav", wave(2, patternBytes(1000))));
        QCOMPARE(m_model->channel(Channel::Right).track, 1);
        m_model->selectTrack(Channel::Left, 1);  // held by the right channel: refused
        QCOMPARE(m_model->channel(Channel::Left).track, 2);
        m_model->setPan(Channel::Right, 40);
        m_model->setPitch(Channel::Right, -150);
        open(write("m.wav", wave(1, patternBytes(1000))));
        QCOMPARE((std::vector<int>{m_model->channel(Channel::Right).pan, m_model->channel(Channel::Right).pitch}),
                 (std::vector<int>{0, 0}));
        QVERIFY(!m_model->showsRightChannel() && m_model->trackEnabled(Channel::Left, 1));
        m_model->selectTrack(Channel::Left, 1);  // mono: any of the four tracks, and no other
        m_model->selectTrack(Channel::Left, 5);
        QCOMPARE(m_model->channel(Channel::Left).track, 1);
    }

    // A cancelled dialog keeps its last name: nothing chosen yet means no file. The import's
    // dialog has a title of its own and adds no ".wav" to a name typed without one.
    void dialogAndCancel() {
        m_ui->chooseNextFile(std::nullopt);
        m_model->open();
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>{message::kFileMissing});
        QCOMPARE(m_ui->messages()[0].icon, MessageIcon::Critical);
        QCOMPARE(m_ui->dialogsShown().at(0).initialFolder, m_preferences.waveFolder);
        const std::string path = write("m.wav", wave(1, patternBytes(1000)));
        open(path);
        m_ui->chooseNextFile(std::nullopt);
        m_model->open();
        QCOMPARE(m_ui->dialogsShown().at(2).fileName, path);
        QCOMPARE(m_ui->messages().size(), size_t(1));
        m_ui->chooseNextFile(std::nullopt);
        m_model->importFromDialog();
        QCOMPARE(m_ui->dialogsShown().at(3).title + "|" + m_ui->dialogsShown().at(3).defaultExtension + "|" +
                     m_ui->dialogsShown().at(0).title,
                 "Import and Convert||");
    }

    void stepBeats_data() {
        QTest::addColumn<int>("beats");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<std::vector<int>>("shown");  // bars, beats per bar, division
        QTest::newRow("12 beats, 1") << 12 << 1 << std::vector<int>{6, 2, 4};
        QTest::newRow("12 beats, 3") << 12 << 3 << std::vector<int>{3, 4, 4};
        QTest::newRow("12 beats, 4: eighths") << 12 << 4 << std::vector<int>{2, 6, 8};
        QTest::newRow("12 beats, 5: round again") << 12 << 5 << std::vector<int>{12, 1, 4};
        QTest::newRow("13 beats (prime), 3") << 13 << 3 << std::vector<int>{13, 1, 4};
        QTest::newRow("14 beats, 2: seven in eighths") << 14 << 2 << std::vector<int>{2, 7, 8};
        QTest::newRow("16 beats, 3: never 8 in a bar") << 16 << 3 << std::vector<int>{16, 1, 4};
        QTest::newRow("one beat") << 1 << 1 << std::vector<int>{1, 1, 4};
    }

    void stepBeats() {
        QFETCH(int, beats);
        QFETCH(int, clicks);
        QFETCH(std::vector<int>, shown);
        open(write("m.wav", wave(1, patternBytes(41 * 22050))));  // 41 beat positions
        m_model->setTempoPosition(int16_t(beats - 1));
        for (int i = 0; i < clicks; ++i) m_model->stepBeatsPerBar();
        QCOMPARE(shownCounts(), shown);
    }

    // The tempo handling sets the Beats box back to 1 but keeps the cycle where it stood.
    void stepCarriesOverAndNeedsATempo() {
        m_model->stepBeatsPerBar();  // no tempo yet: nothing to step to
        QCOMPARE(m_model->settings().beatsPerBar, int16_t(1));
        open(write("m.wav", wave(1, patternBytes(41 * 22050))));
        m_model->setTempoPosition(11);
        for (int i = 0; i < 3; ++i) m_model->stepBeatsPerBar();  // 4 beats per bar
        m_model->setTempoPosition(10);
        m_model->setTempoPosition(11);
        m_model->stepBeatsPerBar();
        QCOMPARE(shownCounts(), (std::vector<int>{2, 6, 8}));
        m_model->setTempoPosition(99);  // pulled to the top end, where the table holds no tempo
        QCOMPARE(m_model->tempoPosition(), int16_t(41));
        QCOMPARE(m_model->tempoShown(), std::optional<float>(0.0f));
        QCOMPARE(shownCounts(), (std::vector<int>{42, 1, 4}));
    }

    // A found tempo sets the beats (as near as the bar reaches) and four to the bar where they
    // divide, the cycle standing there; without one, or with the preference off, the window opens
    // at half the bar. Applying it again after the bar moved works whatever the preference.
    void foundTempo_data() {
        QTest::addColumn<bool>("guess");
        QTest::addColumn<int>("found");          // beats found; 0: none
        QTest::addColumn<std::vector<int>>("opened");   // position, bars, beats per bar, division
        QTest::addColumn<std::vector<int>>("stepped");  // bars, beats per bar, division after a step
        QTest::addColumn<std::vector<int>>("applied");  // after moving to 3 and applying
        QTest::newRow("16 found") << true << 16 << std::vector<int>{15, 4, 4, 4} << std::vector<int>{16, 1, 4}
                                  << std::vector<int>{15, 4, 4, 4};
        QTest::newRow("15 found: one to the bar") << true << 15 << std::vector<int>{14, 15, 1, 4}
                                                  << std::vector<int>{5, 3, 4} << std::vector<int>{14, 15, 1, 4};
        QTest::newRow("60 found: the top end, 42") << true << 60 << std::vector<int>{41, 42, 1, 4}
                                                   << std::vector<int>{21, 2, 4} << std::vector<int>{41, 42, 1, 4};
        QTest::newRow("preference off") << false << 16 << std::vector<int>{20, 21, 1, 4}
                                        << std::vector<int>{7, 3, 4} << std::vector<int>{15, 4, 4, 4};
        QTest::newRow("none found") << true << 0 << std::vector<int>{20, 21, 1, 4} << std::vector<int>{7, 3, 4}
                                    << std::vector<int>{3, 4, 1, 4};
    }
    void foundTempo() {
        QFETCH(bool, guess);
        QFETCH(int, found);
        m_preferences.guessBeats = guess;
        std::vector<std::string> analysed;
        m_model->findTempo = [&](const std::string& path) -> std::optional<tempo::TempoEstimate> {
            analysed.push_back(path);
            if (found == 0) return std::nullopt;
            return tempo::TempoEstimate{found * 3.0, found, 0.9};
        };
        const std::string path = write("m.wav", wave(1, patternBytes(41 * 22050)));  // 41 beat positions
        const auto state = [this] {
            std::vector<int> shown = shownCounts();
            shown.insert(shown.begin(), m_model->tempoPosition());
            return shown;
        };
        open(path);
        QCOMPARE(analysed, std::vector<std::string>{path});
        QCOMPARE(m_model->foundTempo().has_value(), found > 0);
        QTEST(state(), "opened");
        m_model->stepBeatsPerBar();
        QTEST(shownCounts(), "stepped");
        m_model->setTempoPosition(3);
        m_model->useFoundTempo();
        QTEST(state(), "applied");
    }

    void displays() {
        const std::pair<int16_t, std::string> pitches[] = {{-2400, "-24"}, {-150, "-1.5"}, {5, "0.05"}, {0, "0"}, {1200, "12"}};
        for (const auto& [value, text] : pitches) QCOMPARE(pitchText(value), text);
        const std::pair<int16_t, std::string> pans[] = {{-100, "L -100"}, {35, "R 35"}, {0, "Center"}};
        for (const auto& [value, text] : pans) QCOMPARE(panText(value), text);
        m_model->setPitch(Channel::Left, 3000);
        m_model->setPan(Channel::Left, -300);
        QCOMPARE((std::vector<int>{m_model->channel(Channel::Left).pitch, m_model->channel(Channel::Left).pan}),
                 (std::vector<int>{1200, -100}));
    }

    void import_data() {
        QTest::addColumn<ImportRow>("row");
        const int wav24 = SF_FORMAT_WAV | SF_FORMAT_PCM_24, wav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        QTest::newRow("48 kHz 24-bit") << ImportRow{wav24, 48000, 2, 48000, true, {}, "48 kHz 24-bit → 44.1 kHz 16-bit"};
        QTest::newRow("FLAC, 6 channels")
            << ImportRow{SF_FORMAT_FLAC | SF_FORMAT_PCM_16,
                         44100,
                         6,
                         44100,
                         true,
                         {},
                         "FLAC 44.1 kHz 16-bit, 6 channels → 44.1 kHz 16-bit, stereo wave"};
        QTest::newRow("AIFF") << ImportRow{SF_FORMAT_AIFF | SF_FORMAT_PCM_16,
                                           44100,
                                           2,
                                           44100,
                                           true,
                                           {},
                                           "AIFF 44.1 kHz 16-bit → 44.1 kHz 16-bit wave"};
        QTest::newRow("44.1 kHz 16-bit: as it is") << ImportRow{wav16, 44100, 2, 44100, true, {}, {}};
        QTest::newRow("too long") << ImportRow{SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 1, 381 * 8000, false,
                                               "%1 is 6 min 21 s long once converted: a mono loop holds at most 6 min 20 s", {}};
        QTest::newRow("not audio") << ImportRow{0, 0, 0, 0, false, "Could not import %1", {}};
    }

    // A wave the Repeater plays opens as it is; another is converted into the cache folder while
    // the window takes no input, and opened there; one too long for a loop is refused before
    // anything is converted.
    void import() {
        QFETCH(ImportRow, row);
        const std::string source = file("in");
        if (row.format) writeTones(source, row.format, row.rate, row.channels, row.frames, {1000}, 0.5);
        else write("in", {'n', 'o'});
        std::vector<bool> inputEnabled;
        m_model->setInputEnabled = [&inputEnabled](bool enabled) { inputEnabled.push_back(enabled); };
        m_ui->windowUsable = [&inputEnabled] { return !inputEnabled.empty() && inputEnabled.back(); };
        m_model->importAudio(source);
        QCOMPARE(QString::fromStdString(m_ui->messageTexts().empty() ? "" : m_ui->messageTexts()[0]),
                 row.message.replace("%1", QString::fromStdString(source)));
        QCOMPARE(m_model->maxBeats(), int16_t(row.opens ? 4 : 0));  // a second at 44.1 kHz
        QCOMPARE(m_model->wavePath() == source, row.opens && row.summary.isEmpty());
        const ConversionNote* note = m_model->conversionNote();
        QCOMPARE(note ? QString::fromStdString(conversionSummary(note->source)) : QString(), row.summary);
        QCOMPARE(cachedWaves(), row.summary.isEmpty() ? 0 : 1);
        QCOMPARE(m_ui->usableWhenBusy, std::vector<bool>(row.summary.isEmpty() ? 0 : 1, false));
        if (!row.summary.isEmpty()) QCOMPARE(m_ui->progress().back().first, 0.0f);
    }

    void importClipped_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("fullScale");  // the wave opened holds samples clipped to full scale
        QTest::newRow("lower") << MessageAnswer::Yes << true << false;
        QTest::newRow("keep") << MessageAnswer::No << true << true;
        QTest::newRow("cancel") << MessageAnswer::Cancel << false << false;
    }

    // A conversion that clipped asks, naming the count, the peak and the amount that fits: Lower
    // converts again that much lower, Keep opens the wave as converted, Cancel opens nothing.
    void importClipped() {
        QFETCH(MessageAnswer, answer);
        QFETCH(bool, opens);
        QFETCH(bool, fullScale);
        writeOvers(file("master.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 1, 48000, 0.9999);
        m_ui->answerNextQuestion(answer);
        m_model->importAudio(file("master.wav"));
        QCOMPARE(m_ui->messages().size(), size_t(1));
        const RecordedMessage& asked = m_ui->messages()[0];
        QVERIFY2(QString::fromStdString(asked.text).startsWith(QString::fromStdString("Converting " + file("master.wav") + " clipped ")) &&
                 QString::fromStdString(asked.text).endsWith(" samples, peak +0.64 dBFS"), asked.text.c_str());
        QCOMPARE(std::tuple(asked.yes, asked.no), std::tuple(std::string("Lower by 0.7 dB"), std::string(message::kKeepLevelAnswer)));
        QCOMPARE(m_model->conversionNote() != nullptr, opens);
        if (!opens) return;
        const std::vector<uint8_t> bytes = readFile(m_model->wavePath());
        int atFullScale = 0;
        for (size_t at = 44; at + 1 < bytes.size(); at += 2) {
            const auto sample = int16_t(bytes[at] | bytes[at + 1] << 8);
            atFullScale += sample == 32767 || sample == -32768;
        }
        QVERIFY2(fullScale ? atFullScale > 1000 : atFullScale == 0, qPrintable(QString::number(atFullScale)));
    }

    // The converted wave opens as any wave does: its loop is the one a plain Open of it saves.
    void importedSaveEqualsPlainSave() {
        writeTones(file("take.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 2, 96000, {440, 660}, 0.5);
        m_model->importAudio(file("take.wav"));
        WaveToRepeaterModel plain(m_preferences, m_files, *m_ui);
        plain.load();
        plain.openWaveFile(m_model->wavePath());
        for (WaveToRepeaterModel* model : {m_model.get(), &plain}) {
            const std::string card = file(model == &plain ? "plain" : "imported");
            fs::create_directory(card);
            m_ui->chooseNextFolder(card);
            model->browseDestination();
            model->save();
        }
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>(2, message::kWriteSucceeded));
        QCOMPARE(treeOf(file("imported")), treeOf(file("plain")));
    }

    // A save names the loop after the file chosen, an import after the original (its path and
    // hash, never the cached copy's), with the tempo found in it.
    void saveNamesTheLoop_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("name");
        QTest::newRow("Intro groove.wav") << (SF_FORMAT_WAV | SF_FORMAT_PCM_16) << 44100 << "Intro groove";
        QTest::newRow("Verse.take 2.flac") << (SF_FORMAT_FLAC | SF_FORMAT_PCM_16) << 44100 << "Verse.take 2";
        QTest::newRow("Bridge.aif") << (SF_FORMAT_AIFF | SF_FORMAT_PCM_24) << 48000 << "Bridge";
    }
    void saveNamesTheLoop() {
        QFETCH(int, format);
        QFETCH(int, rate);
        QFETCH(QString, name);
        const std::string chosen = file(QTest::currentDataTag()), card = file("card");
        writeTones(chosen, format, rate, 2, rate, {440, 660}, 0.5);
        m_model->findTempo = [](const std::string&) { return tempo::TempoEstimate{96.5, 2, 1}; };
        m_model->importAudio(chosen);
        fs::create_directory(card);
        m_ui->chooseNextFolder(card);
        m_model->browseDestination();
        m_model->save();
        const auto loop = library::CardNames(library::userLibrary(m_files), card).of(card + "/LOOP1");
        QVERIFY(loop.record);
        QCOMPARE(std::tuple(loop.name(), loop.record->sourcePath, loop.record->sourceHash, loop.record->tempoFound),
                 std::tuple(name.toStdString(), chosen, *library::fileContentHash(chosen).hex, std::optional(96.5)));
    }

    // Before converting, waves last written a week ago or earlier leave the cache folder, except
    // the one the window has open; files of one name from two folders do not replace each other.
    void cacheKeepsAWeek() {
        for (const char* folder : {"a", "b"}) {
            fs::create_directory(file(folder));
            writeTones(file(folder) + "/take.aif", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 48000, 1, 4800, {1000}, 0.5);
        }
        m_model->importAudio(file("a/take.aif"));
        const fs::path opened = m_model->wavePath(), cache = opened.parent_path();
        writeFile((cache / "old").string(), {1});
        writeFile((cache / "recent").string(), {1});
        const auto weekAgo = fs::file_time_type::clock::now() - ConvertedCache::kKeptFor;
        for (const auto& [path, hours] : {std::pair{opened, 1}, std::pair{cache / "old", 1}, std::pair{cache / "recent", -1}})
            fs::last_write_time(path, weekAgo - std::chrono::hours(hours));
        m_model->importAudio(file("b/take.aif"));
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>{});
        QVERIFY(!fs::exists(cache / "old") && fs::exists(cache / "recent"));
        QCOMPARE(cachedWaves(), 3);
    }

    // A browsed folder lasts one save; a cancelled chooser keeps the destination.
    void saveToBrowsedFolder() {
        fs::create_directory(file("card"));
        fs::create_directory(file("LOOP1"));
        m_model->load();
        open(write("m.wav", wave(1, patternBytes(2000))));
        m_ui->chooseNextFolder(std::nullopt);
        m_model->browseDestination();
        QCOMPARE(m_model->destination(), m_preferences.loopFolder);
        m_ui->chooseNextFolder(file("card"));
        m_model->browseDestination();
        QCOMPARE(m_ui->folderCaptions().back(), std::string("Choose a Loop Folder"));
        std::vector<bool> inputEnabled;
        m_model->setInputEnabled = [&inputEnabled](bool enabled) { inputEnabled.push_back(enabled); };
        m_ui->windowUsable = [&inputEnabled] { return inputEnabled.back(); };
        m_model->save();
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>{message::kWriteSucceeded});
        QVERIFY(fs::exists(file("card/LOOP2/track1.wav")));
        QCOMPARE(inputEnabled, (std::vector<bool>{false, true}));
        QCOMPARE(m_ui->usableAtMessage, std::vector<bool>{false});
        QCOMPARE(m_ui->usableWhenBusy, std::vector<bool>{false});
        QVERIFY(!m_ui->busy());
        QCOMPARE(m_ui->progress().back().first, 0.0f);
        QCOMPARE(m_model->destination(), m_preferences.loopFolder);
        QCOMPARE(m_model->loopNumberText(), std::string("2"));
        // The loop is there now: No keeps it, and the window opens the folder chooser.
        m_ui->clearRecords();
        m_model->setLoopNumberText("2");
        m_ui->chooseNextFolder(file("card"));
        m_model->browseDestination();
        m_ui->answerNextQuestion(MessageAnswer::No);
        m_model->save();
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>{message::kLoopExists});
        QCOMPARE(m_ui->modelessChoosersShown(), 1);
        QCOMPARE(entriesIn(file("card/LOOP2")), 2);
    }

    // Before a loop the Repeater would play otherwise than shown is written, Save asks; each
    // answer writes what it says, Cancel nothing. A tempo index past the table is written with
    // the tempo shown, or fails as it stands.
    void tempoQuestion_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("beats");
        QTest::addColumn<int>("clicks");  // of the Beats button: 2, then 4 per bar for 16 beats
        QTest::addColumn<bool>("asShown");  // the preference
        QTest::addColumn<int>("answer");  // -1: no question
        QTest::addColumn<QString>("shown");  // the messages, "|" between them
        QTest::addColumn<QString>("tempo");  // written; empty: nothing
        const QString played = "LOOP1 will play at 232.5 BPM, not the 120.0 BPM shown.\nWrite the 120.0 BPM shown?|";
        const QString noTempo = "LOOP1 has no tempo with 4 beats per bar (the tempo table ends before it): only the 120.0 "
                                "BPM shown can be written.\nWrite the 120.0 BPM shown?|";
        const QString done = message::kWriteSucceeded, failed = message::kSaveFailed;
        const int yes = int(MessageAnswer::Yes), no = int(MessageAnswer::No), cancel = int(MessageAnswer::Cancel);
        QTest::newRow("2 per bar: the tempo shown") << 8 << 16 << 1 << false << yes << played + done << "120.0";
        QTest::newRow("2 per bar: as it stands") << 8 << 16 << 1 << false << no << played + done << "232.5";
        QTest::newRow("2 per bar: cancel") << 8 << 16 << 1 << false << cancel << played.chopped(1) << "";
        QTest::newRow("2 per bar, preference on") << 8 << 16 << 1 << true << -1 << done << "120.0";
        QTest::newRow("1 per bar") << 8 << 16 << 0 << false << -1 << done << "120.0";
        QTest::newRow("4/4: the tempo shown") << 8 << 16 << 2 << false << yes << noTempo + done << "120.0";
        QTest::newRow("4/4: as it stands fails") << 8 << 16 << 2 << false << no << noTempo + failed << "";
        const QString wrap = "LOOP1 will count 44 beats, not the 300 shown.\nWrite the loop as it stands?";
        QTest::newRow("300 beats: as it stands") << 80 << 300 << 0 << false << yes << wrap + "|" + done << "225.0";
        QTest::newRow("300 beats: no") << 80 << 300 << 0 << false << no << wrap << "";
    }
    void tempoQuestion() {
        QFETCH(int, seconds);
        QFETCH(int, beats);
        QFETCH(int, clicks);
        QFETCH(bool, asShown);
        QFETCH(int, answer);
        QFETCH(QString, shown);
        QFETCH(QString, tempo);
        m_preferences.tempoAsShown = asShown;
        const int32_t d = seconds * 88200;
        const std::string path = write("m.wav", riff({fmtChunk(1, 44100, 16), chunk("data", d)}));
        fs::resize_file(path, 44 + uintmax_t(d));  // sparse: silence
        open(path);
        m_model->setTempoPosition(int16_t(beats - 1));
        for (int i = 0; i < clicks; ++i) m_model->stepBeatsPerBar();
        if (answer >= 0) m_ui->answerNextQuestion(MessageAnswer(answer));
        m_model->save();
        QStringList texts;
        for (const std::string& text : m_ui->messageTexts()) texts << QString::fromStdString(text);
        QCOMPARE(texts.join('|'), shown);
        if (answer >= 0)
            QCOMPARE(m_ui->messages()[0].buttons, beats > 255 ? MessageButtons::YesNo : MessageButtons::YesNoCancel);
        QCOMPARE(fs::exists(file("LOOP1")), !tempo.isEmpty());
        if (tempo.isEmpty()) return;
        const loop::DecodedDescription written = readDescription(file("LOOP1"));
        QCOMPARE(QString::fromStdString(message::tempoText(loop::tempoOfCode(written.tempoCode))), tempo);
    }

    // With automatic numbering off the box keeps the number in the normal form the writer gave it,
    // and only the destination returns.
    void refusedSaveShowsItsMessage() {
        m_model->setLoopNumberText("007");
        fs::create_directory(file("elsewhere"));
        m_ui->chooseNextFolder(file("elsewhere"));
        m_model->browseDestination();
        m_preferences.autoIncrement = false;
        m_model->save();  // no wave yet
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>{message::kNoWaveOpened});
        QCOMPARE(m_model->loopNumberText(), std::string("7"));
        QCOMPARE(m_model->destination(), m_preferences.loopFolder);
        QVERIFY(!m_ui->busy());
        QCOMPARE(entriesIn(file("elsewhere")), 0);
    }
};

QTEST_APPLESS_MAIN(TestWaveToRepeaterModel)
#include "tst_wavetorepeatermodel.moc"
