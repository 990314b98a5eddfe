// The "Repeater to .WAV" window in real widgets: its look, the columns in each mode, a stereo
// open through the real channel dialog, and the window taking no input while a save copies.
#include <QApplication>
#include <QLabel>
#include <QAbstractButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "AuditionPanel.h"
#include "CardNames.h"
#include "ChannelDialog.h"
#include "DropEvents.h"
#include "LookCheck.h"
#include "LoopFixture.h"
#include "Messages.h"
#include "MenuListing.h"
#include "RepeaterToWaveWindow.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"
#include "TestInteraction.h"
#include "UserLibrary.h"
#include "WaveformView.h"

using namespace brenvik;
using namespace brenvik::test;

// The channel question goes to the real dialog, shown modally.
class DialogInteraction : public TestInteraction {
public:
    std::optional<Channel> chooseChannel() override { return runChannelDialog(nullptr); }
};

class TestRepeaterToWaveWindow : public QObject {
    Q_OBJECT
private slots:
    void look() {
        QCOMPARE(m_window.windowTitle(), QStringLiteral("Repeater to .WAV"));
        QStringList tips;
        for (QAction* button : m_window.findChild<QToolBar*>("toolBar")->actions()) tips << button->toolTip();
        QCOMPARE(tips, (QStringList{"Open Repeater Wave File", "Remove Gaps and Save", "", "Mono Mode", "Stereo Mode", "Card"}));
        QCOMPARE(menuItems(m_window.fileMenu()).second,
                 (QStringList{"&Open Repeater Wave File... Ctrl+O", "&Save as Normal Wave File... Ctrl+S", "-",
                              "&Preferences... Ctrl+P", "-", "E&xit Ctrl+X"}));
        QCOMPARE(menuItems(m_window.helpMenu()).second.last(), QStringLiteral("&About... Ctrl+A"));
        QCOMPARE(texts("^left.*Caption$"),
                 (QStringList{"File:", "Loop:", "Track:", "Pre-Buffer:", "Audio Data:", "Post-Buffer:", "Total Size:"}));
        QCOMPARE(texts("Header"), (QStringList{"Mono", "Right Channel"}));
        QCOMPARE(texts(kValues).join(""), QString());
        QVERIFY(rightColumnShown(false));
        BRENVIK_CHECK_LOOK(&m_window, "repeater-to-wave");
        QVERIFY(m_window.findChild<WaveformView*>()->height() >= 120);
    }

    // The dialog's second showing starts from "Left Channel" again; mono forgets the right track.
    void stereoOpensThroughChannelDialog() {
        const std::string right = makeLoop(root(), "LOOP2", patternBytes(2048), 2, 512);
        const std::string left = makeLoop(root(), "LOOP1", patternBytes(1024));
        m_window.findChild<QAction*>("stereoButton")->trigger();
        QCOMPARE(texts("Header"), (QStringList{"Left Channel", "Right Channel"}));
        QVERIFY(rightColumnShown(true));
        openThroughDialog(right, "rightOption");
        openThroughDialog(left, nullptr);
        QCOMPARE(m_leftSelectedAtStart, (QList<bool>{true, true}));
        QCOMPARE(m_dialogLook, keptLook("channel-dialog", m_dialogLook));
        QCOMPARE(texts(kValues), (QStringList{left.c_str(), "LOOP1", "track1", "16384 bytes", "1024 bytes", "0 bytes",
                                              "17408 bytes", right.c_str(), "LOOP2", "track2", "16384 bytes",
                                              "2048 bytes", "512 bytes", "18944 bytes"}));
        m_window.findChild<QAction*>("monoButton")->trigger();
        QCOMPARE(texts("Header").value(0), QStringLiteral("Mono"));
        QVERIFY(rightColumnShown(false));
        QCOMPARE(texts("^right(?!Header).*Label$").join(""), QString());
        QCOMPARE(texts("^left(?!Header).*Label$").value(0), left.c_str());
    }

    void disabledWhileSaving() {
        m_window.showStereoTracks(makeLoop(root(), "LOOP1", patternBytes(4096)),
                                  makeLoop(root(), "LOOP2", patternBytes(2048), 2));
        QVERIFY(rightColumnShown(true));
        m_ui.windowUsable = [this] { return m_window.isEnabled(); };
        m_ui.chooseNextFile(root() + "/out.wav");
        m_window.findChild<QAction*>("saveAction")->trigger();
        QCOMPARE(m_ui.messageTexts(), std::vector<std::string>{"File writing successful"});
        QCOMPARE(m_ui.usableWhenBusy, std::vector<bool>{false});
        QVERIFY(m_window.isEnabled());
    }

    // What plays is what the save would write: a stereo save needs both channels.
    void playsAsTheSaveWrites() {
        auto* note = m_window.findChild<QLabel*>("auditionNote");
        const auto lanes = [this] { return m_window.audition()->waveform()->peaks().lanes().size(); };
        m_window.showStereoTracks(makeLoop(root(), "LOOP1", patternBytes(4096)),
                                  makeLoop(root(), "LOOP2", patternBytes(2048), 2));
        QVERIFY(note->text().isEmpty() && lanes() == 2);
        m_window.findChild<QAction*>("monoButton")->trigger();  // keeps the left track
        QVERIFY(note->text().isEmpty() && lanes() == 1);
        m_window.findChild<QAction*>("stereoButton")->trigger();
        QCOMPARE(note->text(), QString(message::kNoRightTrack));
        QCOMPARE(lanes(), size_t{1});
    }

    // A track opens into the mono channel, a loop folder with its chosen tracks, two tracks in
    // stereo mode in name order; anything else is refused and changes nothing.
    void drops() {
        m_ui.clearRecords();
        m_window.findChild<QAction*>("monoButton")->trigger();
        const std::string loop = makeCardLoop(root() + "/card", 3, {2, 4}, 4);
        const QString track2 = QString::fromStdString(loop + "/track2.wav"), track4 = QString::fromStdString(loop + "/track4.wav");
        const std::string other = makeLoop(root(), "LOOP5", patternBytes(1024), 1);
        QVERIFY(dropPaths(&m_window, {QString::fromStdString(other)}));
        QCOMPARE(texts(kValues).value(0), QString::fromStdString(other));
        QVERIFY(dropPaths(&m_window, {QString::fromStdString(loop)}));
        QVERIFY(rightColumnShown(true));
        QCOMPARE(texts(kValues).value(0) + " " + texts(kValues).value(7), track2 + " " + track4);
        QVERIFY(dropPaths(&m_window, {track4, QString::fromStdString(other)}));
        QCOMPARE(texts(kValues).value(0) + " " + texts(kValues).value(7), QString::fromStdString(other) + " " + track4);
        writeFile(root() + "/notes.txt", {1});
        QVERIFY(!dropPaths(&m_window, {QString::fromStdString(root() + "/notes.txt"), track4}));  // a pair: both waves
        m_window.findChild<QAction*>("monoButton")->trigger();
        const QStringList before = texts(kValues);
        QSignalSpy notes(&m_window, &ConverterWindow::statusMessage);
        for (const QStringList& refused : {QStringList{track2, track4}, QStringList{QString::fromStdString(root() + "/notes.txt")},
                                           QStringList{QString::fromStdString(root())}})
            QVERIFY(!dropPaths(&m_window, refused));
        QVERIFY(!dropOn(&m_window, {QUrl("https://example.org/track1.wav")}));
        QCOMPARE(texts(kValues), before);
        QCOMPARE(notes, (QList<QVariantList>(4, {QString(message::kRepeaterWindowDrops)})));
        QVERIFY(m_ui.messages().empty());
    }

    // The Loop row names the loop its library knows, for the loop's content as it is now.
    void loopRowShowsTheName_data() {
        QTest::addColumn<bool>("named");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("row");
        QTest::newRow("named") << true << false << QString("LOOP3 \u2014 Intro groove");
        QTest::newRow("never named") << false << false << QString("LOOP3");
        QTest::newRow("edited since") << true << true << QString("LOOP3");
    }
    void loopRowShowsTheName() {
        QFETCH(bool, named);
        QFETCH(bool, edited);
        QFETCH(QString, row);
        const std::string card = root() + "/" + QTest::currentDataTag();
        // The unnamed loop differs from the named ones: a record follows the content.
        const std::string loop = makeCardLoop(card, 3, {1}, named ? 4 : 6);
        library::CardNames names(library::userLibrary(m_files), card);
        if (named) QVERIFY(names.nameWritten(loop, root() + "/Intro groove.flac", 120));
        std::vector<uint8_t> track = readFile(loop + "/track1.wav");
        if (edited) track.back() ^= 1;
        writeFile(loop + "/track1.wav", track);  // rewritten either way: read again for its hash
        m_window.findChild<QAction*>("stereoButton")->trigger();
        m_window.openLoop(loop);  // a loop of one track opens in mono
        QVERIFY(rightColumnShown(false));
        QCOMPARE(texts(kValues).mid(0, 2), (QStringList{QString::fromStdString(loop + "/track1.wav"), row}));
    }

private:
    const QString kValues = "^(left|right)(?!Header).*Label$";
    std::string root() const { return m_dir.path().toStdString(); }
    // The texts of the labels whose object names match, in the order the window made them.
    QStringList texts(const QString& pattern) const {
        QStringList list;
        // A path is whole in its tooltip; the label may show it without its middle.
        for (QLabel* label : m_window.findChildren<QLabel*>(QRegularExpression(pattern)))
            list << (label->toolTip().isEmpty() ? label->text() : label->toolTip());
        return list;
    }
    bool rightColumnShown(bool shown) const {
        const QList<QLabel*> column = m_window.findChildren<QLabel*>(QRegularExpression("^right"));
        return column.size() == 15 && std::all_of(column.begin(), column.end(), [this, shown](QLabel* label) {
                   return label->isVisibleTo(&m_window) == shown;
               });
    }
    // Opens the track from the menu; the channel dialog comes up modally, the option named is
    // clicked (none: as it opens) and Return presses its default button, OK.
    void openThroughDialog(const std::string& path, const char* option) {
        m_ui.chooseNextFile(path);
        QTimer::singleShot(0, [this, option] {
            auto* dialog = qobject_cast<ChannelDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            m_leftSelectedAtStart << dialog->findChild<QAbstractButton*>("leftOption")->isChecked();
            m_dialogLook = lookOf(dialog);
            if (option) QTest::mouseClick(dialog->findChild<QAbstractButton*>(option), Qt::LeftButton, {}, {8, 8});
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        m_window.findChild<QAction*>("openAction")->trigger();
    }

    // One window (never shown) for all three checks, each starting where the one before left it.
    QTemporaryDir m_dir;
    DialogInteraction m_ui;
    ScriptedFiles m_files;
    Preferences m_preferences;
    RepeaterToWaveWindow m_window{m_preferences, m_files, m_ui};
    QList<bool> m_leftSelectedAtStart;
    QStringList m_dialogLook;
};

QTEST_MAIN(TestRepeaterToWaveWindow)
#include "tst_repeatertowavewindow.moc"
