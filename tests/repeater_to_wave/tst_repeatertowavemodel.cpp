// The Repeater-to-wave window's model on real loop folders: which channel an open fills, what a
// cancel keeps, the mode switches, and the save command's checks, messages and disabled window.
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "LoopFixture.h"
#include "RepeaterToWaveModel.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"
#include "TestInteraction.h"

using namespace brenvik;
using namespace brenvik::test;
using Texts = std::vector<std::string>;

class TestRepeaterToWaveModel : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_ui = std::make_unique<TestInteraction>();
        m_model = std::make_unique<RepeaterToWaveModel>(m_preferences, m_files, *m_ui);
        m_model->setInputEnabled = [this](bool enabled) { m_enabled = enabled; };
        m_ui->windowUsable = [this] { return m_enabled; };
    }

    // The window's test sees the headers and columns the modes give.
    void openCommand() {
        open(std::nullopt);  // the first time the name is empty: no loopinfo.ldf beside it
        QCOMPARE(m_ui->messageTexts(), Texts{"Repeater's .ldf and .wav files must reside in the same directory"});
        const FileDialogRequest& shown = m_ui->dialogsShown().front();
        QCOMPARE(shown.initialFolder + "|" + shown.fileName + "|" + shown.defaultExtension + "|" +
                     shown.filters.at(0).description + "|" + shown.filters.at(0).patterns.at(0) +
                     "|" + std::to_string(shown.filterIndex),
                 std::string("/loops||.wav|.wav files (*.wav)|*.wav|0"));
        const std::string first = loop("LOOP1", 1024), second = loop("LOOP2", 1536), third = loop("LOOP3", 2048);
        open(first);
        m_model->setMode(ChannelMode::Stereo);
        open(std::nullopt, Channel::Right);  // later the previous name opens again, here into the right
        QCOMPARE(m_ui->dialogsShown().back().fileName, first);
        QCOMPARE(trackPaths(), (Texts{first, first}));
        open(second, std::nullopt);  // the channel dialog's close box keeps the channel
        QCOMPARE(trackPaths(), (Texts{first, second}));
        open(third, Channel::Left);
        m_model->setMode(ChannelMode::Mono);  // the right track is forgotten, the left one stays
        QCOMPARE(trackPaths(), (Texts{third, ""}));
        m_model->setMode(ChannelMode::Stereo);
        open(first, std::nullopt);  // and the channel went back to the left
        QCOMPARE(trackPaths(), (Texts{first, ""}));
        QCOMPARE(m_ui->messages().size(), size_t(1));
    }

    // A missing track and an unreadable one leave both channels; an untrimmed one empties both.
    void refusedOpens() {
        m_model->setMode(ChannelMode::Stereo);
        const std::string left = loop("LOOP1", 1024), right = loop("LOOP2", 512);
        open(left, Channel::Left);
        open(right, Channel::Right);
        const std::string folder = makeFolder(root(), "LOOP9");
        writeDescription(folder, 0, 99);  // 51200 bytes of audio
        open(folder + "/track1.wav", Channel::Left);
        TrackSpec layout;
        layout.dataSize = INT32_MIN;  // the post-buffer leaves 32 bits
        open(writeTrack(folder, layout), Channel::Right);
        QCOMPARE(trackPaths(), (Texts{left, right}));
        QCOMPARE(m_ui->failuresLogged().size(), size_t(1));  // the unreadable one, with no message box
        layout.dataSize = 1000;
        open(writeTrack(folder, layout), Channel::Left);
        QCOMPARE(trackPaths(), (Texts{"", ""}));
        QCOMPARE(m_ui->messageTexts(), (Texts{"File does not exist!", "Invalid or Untrimmed Repeater File"}));
        QCOMPARE(m_ui->messages()[0].icon, MessageIcon::Critical);
        QCOMPARE(m_ui->messages()[1].icon, MessageIcon::None);
    }

    // Saves refused until both channels are loaded, one that writes, one whose dialog is cancelled.
    void saveCommand() {
        const std::vector<uint8_t> leftAudio = patternBytes(2048, 3), rightAudio = patternBytes(1024, 9);
        m_model->save();
        m_model->setMode(ChannelMode::Stereo);
        open(makeLoop(root(), "LOOP2", rightAudio, 2, 512), Channel::Right);
        m_model->save();
        open(makeLoop(root(), "LOOP1", leftAudio, 1, 512), Channel::Left);
        m_model->setMode(ChannelMode::Mono);
        m_model->setMode(ChannelMode::Stereo);
        m_model->save();
        QCOMPARE(m_ui->messageTexts(), (Texts{"No Repeater files loaded", "No Repeater file loaded in Left channel",
                                                    "No Repeater file loaded in Right channel"}));
        QCOMPARE(m_ui->messages().back().icon, MessageIcon::None);
        open(root() + "/LOOP2/track2.wav", Channel::Right);
        m_ui->clearRecords();
        m_ui->chooseNextFile(out());
        m_model->save();
        QCOMPARE(m_ui->dialogsShown().front().initialFolder, std::string("/waves"));
        QCOMPARE(readFile(out()), expectedWave(2, 44100, interleaved(leftAudio, rightAudio)));
        QCOMPARE(m_ui->messageTexts(), Texts{"File writing successful"});
        QCOMPARE(m_ui->progress().back(), std::make_pair(0.0f, 4.096f));  // emptied after the message
        QCOMPARE(m_ui->usableAtMessage, (std::vector<bool>{true, true, true, false}));  // refusals, success
        QVERIFY(m_enabled);
        open(std::nullopt, std::nullopt);  // the file dialog keeps the saved name
        QCOMPARE(m_ui->dialogsShown().back().fileName, out());
        m_ui->clearRecords();
        m_ui->chooseNextFile(std::nullopt);  // a cancelled dialog leaves no name to write to
        m_model->save();
        QCOMPARE(m_ui->messageTexts(), Texts{"error in fileSaving()"});
        QCOMPARE(m_ui->messages().front().icon, MessageIcon::Critical);
        QCOMPARE(m_ui->messages().front().detail, std::string("no file was chosen"));
        QCOMPARE(m_ui->usableWhenBusy, (std::vector<bool>{false}));  // busy for the copy only
        QVERIFY(m_ui->progress().empty() && m_enabled);
        QCOMPARE(trackPaths(), (Texts{root() + "/LOOP1/track1.wav", root() + "/LOOP2/track2.wav"}));
    }

    // A track cut short opens and saves as before (silent from where it ends), with a warning.
    void shortTrackWarned() {
        const std::string track = loop("LOOP1", 336 * 512);  // 2.0 s
        QVERIFY(m_model->shortTrackWarnings().empty());
        std::filesystem::resize_file(track, 16428 + 168 * 512);
        open(track);
        const Texts warnings = m_model->shortTrackWarnings();
        QCOMPARE(warnings, Texts{track + " holds 1.0 s of the loop's 2.0 s: the wave is silent after 1.0 s"});
        m_ui->chooseNextFile(out());
        m_model->save();
        QCOMPARE(m_ui->messageTexts(), Texts{"File writing successful"});
        std::vector<uint8_t> heard = patternBytes(168 * 512);
        heard.resize(336 * 512, 0);
        QCOMPARE(readFile(out()), expectedWave(1, 44100, heard));
    }

    void overwrite_data() {
        QTest::addColumn<QList<int>>("answers");     // MessageAnswer, in order
        QTest::addColumn<QString>("dialogReturns");  // after No: a name, "" for a cancelled dialog
        QTest::addColumn<QString>("written");        // the file that holds the new wave; "": none
        const int yes = int(MessageAnswer::Yes), no = int(MessageAnswer::No),
                  cancel = int(MessageAnswer::Cancel);
        QTest::newRow("Yes") << QList<int>{yes} << QString() << "out.wav";
        QTest::newRow("No: another name") << QList<int>{no} << "other.wav"
                                          << "other.wav";
        QTest::newRow("No, dialog cancelled: asked again") << QList<int>{no, cancel} << ""
                                                           << "";
        QTest::newRow("Cancel") << QList<int>{cancel} << QString() << "";
    }

    // Yes deletes the existing, longer file first, so no tail of it stays; No shows the save dialog
    // again with the refused name and saves to what it returns; the busy pointer shows for a copy
    // only.
    void overwrite() {
        QFETCH(QList<int>, answers);
        QFETCH(QString, dialogReturns);
        QFETCH(QString, written);
        const std::vector<uint8_t> old(100000, 0x77), audio = patternBytes(4096);
        writeFile(out(), old);
        open(makeLoop(root(), "LOOP1", audio));
        m_ui->clearRecords();
        m_ui->chooseNextFile(out());
        for (int answer : answers) m_ui->answerNextQuestion(MessageAnswer(answer));
        if (!dialogReturns.isNull())
            m_ui->chooseNextFile(
                dialogReturns.isEmpty()
                    ? std::nullopt
                    : std::optional(root() + "/" + dialogReturns.toStdString()));
        m_model->save();
        Texts shown(size_t(answers.size()), "File already exists. Overwrite?");
        if (!written.isEmpty()) shown.push_back("File writing successful");
        QCOMPARE(m_ui->messageTexts(), shown);
        QCOMPARE(m_ui->dialogsShown().size(), size_t(dialogReturns.isNull() ? 1 : 2));
        QCOMPARE(m_ui->dialogsShown().back().fileName,
                 dialogReturns.isNull() ? std::string("LOOP1.wav") : out());  // the loop's own name first
        QCOMPARE(readFile(out()), written == "out.wav" ? expectedWave(1, 44100, audio) : old);
        if (written == "other.wav")
            QCOMPARE(readFile(root() + "/other.wav"), expectedWave(1, 44100, audio));
        QCOMPARE(m_ui->usableWhenBusy, std::vector<bool>(written.isEmpty() ? 0 : 1, false));
    }

private:
    std::string root() const { return m_dir->path().toStdString(); }
    std::string out() const { return root() + "/out.wav"; }
    std::string loop(const std::string& name, size_t bytes) { return makeLoop(root(), name, patternBytes(bytes)); }
    Texts trackPaths() const {
        Texts paths;
        for (Channel channel : {Channel::Left, Channel::Right})
            paths.push_back(m_model->track(channel) ? m_model->track(channel)->path : "");
        return paths;
    }
    // The open dialog returns the path (or is cancelled); in stereo the channel dialog follows.
    void open(const std::optional<std::string>& path, std::optional<Channel> channel = std::nullopt) {
        m_ui->chooseNextFile(path);
        if (m_model->mode() == ChannelMode::Stereo) m_ui->chooseNextChannel(channel);
        m_model->open();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestInteraction> m_ui;
    ScriptedFiles m_files;
    Preferences m_preferences{"/loops", "/waves", 45, true};
    std::unique_ptr<RepeaterToWaveModel> m_model;
    bool m_enabled = true;
};

QTEST_GUILESS_MAIN(TestRepeaterToWaveModel)
#include "tst_repeatertowavemodel.moc"
