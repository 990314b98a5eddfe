#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "AuditionPanel.h"
#include "DropEvents.h"
#include "Groove.h"
#include "LookCheck.h"
#include "MenuListing.h"
#include "Messages.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"
#include "TestInteraction.h"
#include "ToneMeasure.h"
#include "WaveTempo.h"
#include "WaveToRepeaterWindow.h"
#include "WaveformView.h"

using namespace brenvik;
using namespace brenvik::test;

// The window draws its model and hands the user's actions to it; the model's own test covers
// what the commands do.
class TestWaveToRepeaterWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestInteraction> m_ui;
    ScriptedFiles m_files;
    Preferences m_preferences;
    std::unique_ptr<WaveToRepeaterWindow> m_window;

    template <typename T>
    T* find(const char* name) const {
        T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no widget %s", name);
        return widget;
    }
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = m_dir->path().toStdString() + "/" + name;
        writeFile(path, bytes);
        return path;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_ui = std::make_unique<TestInteraction>();
        m_preferences = Preferences{m_dir->path().toStdString(), m_dir->path().toStdString(), 45, true};
        m_window = std::make_unique<WaveToRepeaterWindow>(m_preferences, m_files, *m_ui);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    // Before any wave: the mono look, the tempo bar and the left tracks unusable, Save only in the
    // menu; a stereo wave shows the right channel; the loop number box holds the free number.
    void looks() {
        QCOMPARE(m_window->windowTitle(), QStringLiteral(".WAV to Repeater"));
        QVERIFY(!find<QAction>("saveButton")->isEnabled() && m_window->saveAction()->isEnabled());
        QVERIFY(!find<QScrollBar>("tempoBar")->isEnabled() && !find<QRadioButton>("leftTrack1")->isEnabled());
        QVERIFY(!find<QLabel>("rightHeader")->isVisible() && !find<QScrollBar>("rightPanBar")->isVisible());
        QCOMPARE(find<QLineEdit>("loopNumberBox")->text(), QStringLiteral("1"));
        QCOMPARE(find<QLineEdit>("loopPrefixBox")->text(), QStringLiteral("/LOOP"));
        QCOMPARE(find<QLineEdit>("leftPanBox")->text(), QStringLiteral("Center"));

        m_ui->chooseNextFile(write("st.wav", wave(2, patternBytes(1411200))));
        find<QAction>("openButton")->trigger();
        QVERIFY(find<QLabel>("rightHeader")->isVisible() && find<QScrollBar>("rightPanBar")->isVisible());
        QCOMPARE(find<QLabel>("leftHeader")->text(), QStringLiteral("Left Channel"));
        QCOMPARE(find<QLineEdit>("tempoBox")->text(), QStringLiteral("127.5"));
        QVERIFY(find<QRadioButton>("rightTrack2")->isChecked() && !find<QRadioButton>("rightTrack1")->isEnabled());
        QVERIFY(find<QAction>("saveButton")->isEnabled());
        // No sound server in reach: Play says why it cannot; the waveform shows both channels.
        QVERIFY(!find<QPushButton>("playButton")->isEnabled());
        QCOMPARE(find<QPushButton>("playButton")->toolTip(), QString(message::kNoAudioOutput));
        QCOMPARE(m_window->audition()->waveform()->peaks().lanes().size(), size_t{2});
        BRENVIK_CHECK_LOOK(m_window.get(), "wave-to-repeater");
        QVERIFY(find<WaveformView>("waveform")->height() >= 120);
        // The import follows the menu's own commands, which keep their order and shortcuts.
        QCOMPARE(menuItems(m_window->fileMenu()).second.join(','),
                 "&Open Normal Wave File... Ctrl+O,&Save as Repeater Loop... Ctrl+S,&Import and Convert... Ctrl+I,"
                 "-,&Preferences... Ctrl+P,-,E&xit Ctrl+X");
    }

    void dropsOfferConversion_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("answer");  // to the offer after the refusal; 0: no offer
        QTest::newRow("refused wave, converted") << "take.wav" << int(MessageAnswer::Yes);
        QTest::newRow("refused wave, kept") << "take.wav" << int(MessageAnswer::No);
        QTest::newRow("FLAC: imported at once") << "take.flac" << 0;
    }

    // A dropped wave that the Open refuses for its rate is offered conversion after the refusal;
    // a FLAC file is imported at once. The window then names the original and what was converted,
    // the container too when it was not a wave.
    void dropsOfferConversion() {
        QFETCH(QString, name);
        QFETCH(int, answer);
        const QString path = m_dir->filePath(name);
        const QString summary = answer ? "48 kHz 24-bit → 44.1 kHz 16-bit"
                                       : "FLAC 48 kHz 24-bit → 44.1 kHz 16-bit wave";
        writeTones(path.toStdString(), (answer ? SF_FORMAT_WAV : SF_FORMAT_FLAC) | SF_FORMAT_PCM_24, 48000, 2, 48000, {1000}, 0.5);
        if (answer) m_ui->answerNextQuestion(MessageAnswer(answer));
        QVERIFY(dropPaths(m_window.get(), {path}));
        QStringList shown;
        for (const std::string& text : m_ui->messageTexts()) shown << QString::fromStdString(text);
        QCOMPARE(shown.join('|'), answer ? "Repeater supports 44.1 kHz sample rate only, this file has a sample rate of 48kHz|"
                                           "Convert " + path + " (" + summary + ") and open the converted wave?" : "");
        const bool opened = answer != int(MessageAnswer::No);
        auto* note = find<QLabel>("conversionLabel");
        QCOMPARE(note->isVisible() ? note->text() + " " + note->toolTip() : QString(),
                 opened ? "Converted from " + name + "\n" + summary + " " + path : QString());
        // The converted wave's long path loses its middle on the File row, but keeps its name.
        auto* file = find<QLabel>("wavePathLabel");
        QCOMPARE(file->toolTip().startsWith(QString::fromStdString(m_files.userCacheFolder())),
                 opened);
        QCOMPARE(file->text().contains(QChar(0x2026)), opened);
        QCOMPARE(QFileInfo(file->text()).fileName(), QFileInfo(file->toolTip()).fileName());
        QVERIFY(file->fontMetrics().horizontalAdvance(file->text()) <= file->width());
    }

    // The "will write" line tells what a save would write, and turns into a warning naming the
    // tempo the card would get when beats per bar move it off the one shown (with the tempo
    // written as shown it stays a summary), or the refusal a loop number typed would meet.
    void willWriteLine_data() {
        QTest::addColumn<bool>("tempoAsShown");
        QTest::newRow("tempo from beats per bar") << false;
        QTest::newRow("tempo as shown") << true;
    }
    void willWriteLine() {
        QFETCH(bool, tempoAsShown);
        m_preferences.tempoAsShown = tempoAsShown;
        auto* line = find<QLabel>("willWriteLine");
        QVERIFY(line->text().isEmpty());
        m_ui->chooseNextFile(write("m.wav", wave(1, patternBytes(23 * 22050))));  // 5.75 s, 12 beats
        find<QAction>("openButton")->trigger();
        const QString summary = "Will write " + m_dir->path() + "/LOOP1: %1 BPM, 12 beats in %2 bars of %3 (division 4), "
                                "mono on track 1, 5.7 s";
        QCOMPARE(line->text(), summary.arg("125.2").arg(12).arg(1));
        find<QPushButton>("beatsButton")->click();
        QCOMPARE(line->text(), tempoAsShown ? summary.arg("125.2").arg(6).arg(2)
                                            : QString::fromStdString(message::planTempoNotShown(240.0, 125.217f, 2, message::Voice::Window)));
        QVERIFY2(!line->text().contains("--"), qPrintable(line->text()));  // the window's words, not a flag
        QCOMPARE(line->toolTip(), summary.arg(tempoAsShown ? "125.2" : "240.0").arg(6).arg(2));
        for (const char* typed : {"x", "0"}) {  // a loop number the save would refuse
            find<QLineEdit>("loopNumberBox")->clear();
            QTest::keyClicks(find<QLineEdit>("loopNumberBox"), typed);
            QVERIFY(line->text().startsWith(*typed == 'x' ? message::kLoopNumberNotNumeric : message::kLoopNumberOutOfRange));
        }
    }

    // A dropped wave opens as the Open command opens it, with its checks and messages (a refused
    // one is then offered conversion); two files or another kind of file are refused without a
    // message box, with a note of what is taken.
    void drops() {
        const QString stereo = QString::fromStdString(write("st.wav", wave(2, patternBytes(1411200))));
        const QString eightBit = QString::fromStdString(write("8.wav", wave(1, patternBytes(400), 44100, 8)));
        QSignalSpy notes(m_window.get(), &ConverterWindow::statusMessage);
        QVERIFY(!dropPaths(m_window.get(), {stereo, stereo}));
        QVERIFY(!dropPaths(m_window.get(), {QString::fromStdString(write("a.txt", {1}))}));
        QVERIFY(m_window->model().wavePath().empty());
        QVERIFY(dropPaths(m_window.get(), {stereo}));
        QCOMPARE(notes, (QList<QVariantList>(2, {QString(message::kWaveWindowDrops)})));
        QCOMPARE(m_window->model().wavePath(), stereo.toStdString());
        QVERIFY(find<QLabel>("rightHeader")->isVisible());
        m_ui->answerNextQuestion(MessageAnswer::No);  // to the offer of a conversion
        QVERIFY(dropPaths(m_window.get(), {eightBit}));
        QCOMPARE(m_ui->messageTexts().front(), "Repeater supports 16 bit audio only, this file is 8 bit");
        QCOMPARE(m_ui->messageTexts().size(), size_t(2));
    }

    // The tempo bar keeps its largest value at the top: the Up key raises it, and the tempo with it;
    // Page Down lowers it a page.
    // The focused control is ringed, and the ring follows the focus.
    void tempoBarUpRaisesTheTempo() {
        m_window->openWave(write("st.wav", wave(2, patternBytes(1411200))));
        auto* bar = find<QScrollBar>("tempoBar");
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        bar->setFocus();
        auto* ring = find<QWidget>("focusRing");
        QVERIFY(ring->isVisible() && ring->geometry().contains(bar->geometry(), true));
        find<QLineEdit>("loopNumberBox")->setFocus();
        find<QLineEdit>("loopNumberBox")->resize(90, 40);  // the ring follows the control it rings
        QVERIFY(ring->geometry().contains(find<QLineEdit>("loopNumberBox")->geometry(), true));
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Up);
        QCOMPARE(m_window->model().tempoPosition(), int16_t(17));
        QCOMPARE(find<QLineEdit>("tempoBox")->text(), QStringLiteral("135.0"));
        QCOMPARE(find<QLineEdit>("barsBox")->text(), QStringLiteral("18"));
        find<QAbstractButton>("beatsButton")->click();  // 18 beats as 9 bars of 2
        QCOMPARE((QStringList{find<QLineEdit>("barsBox")->text(), find<QLineEdit>("beatsBox")->text()}),
                 (QStringList{"9", "2"}));
        QTest::keyClick(bar, Qt::Key_PageDown);  // a page of 10 positions down
        QCOMPARE(m_window->model().tempoPosition(), int16_t(7));
    }

    // An 8-second groove at 120 BPM, its tempo found by the onset detector: the window opens at
    // its 16 beats in 4 bars of 4; Alt+U brings the found tempo back after the bar moved.
    void foundTempo() {
        m_preferences.guessBeats = true;
        m_window->model().findTempo = tempo::estimateWaveTempo;
        auto* button = find<QPushButton>("foundTempoButton");
        auto* note = find<QLabel>("foundTempoLabel");
        QVERIFY(!button->isEnabled() && note->text().isEmpty());
        const auto boxes = [this] {
            return QStringList{find<QLineEdit>("tempoBox")->text(), find<QLineEdit>("barsBox")->text(),
                               find<QLineEdit>("beatsBox")->text()};
        };
        m_window->openWave(write("groove.wav", wave(2, groove(120, 4, 2))));
        QCOMPARE(boxes(), (QStringList{"120.0", "4", "4"}));  // tempo, bars, beats per bar
        QCOMPARE(note->text(), QStringLiteral("Found about 120 BPM"));
        QVERIFY(button->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        find<QScrollBar>("tempoBar")->setFocus();
        QTest::keyClick(find<QScrollBar>("tempoBar"), Qt::Key_Down);
        // The mnemonic presses the button, whose click follows a moment later; Space, as on a
        // button reached with Tab, releases it at once.
        QTest::keyClick(m_window.get(), Qt::Key_U, Qt::AltModifier);
        QVERIFY(button->isDown() && button->focusPolicy() == Qt::StrongFocus);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(boxes(), (QStringList{"120.0", "4", "4"}));
        QCOMPARE(m_window->model().settings().beatCount, 16);
    }

    // Typed loop numbers reach the model; the Right key moves the pan right; the pan label's
    // double click centres the pan.
    void typingAndResets() {
        auto* box = find<QLineEdit>("loopNumberBox");
        box->clear();
        QTest::keyClicks(box, "0078");  // three characters at most
        QCOMPARE(m_window->model().loopNumberText(), std::string("007"));
        QGuiApplication::clipboard()->setText("12");
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);  // nor pasted
        QCOMPARE(box->text(), QStringLiteral("007"));
        find<QScrollBar>("leftPanBar")->setValue(-41);
        QTest::keyClick(find<QScrollBar>("leftPanBar"), Qt::Key_Right);  // towards the right
        QCOMPARE(find<QLineEdit>("leftPanBox")->text(), QStringLiteral("L -40"));
        QTest::mouseDClick(find<QLabel>("leftPanLabel"), Qt::LeftButton);
        QCOMPARE(m_window->model().channel(Channel::Left).pan, int16_t(0));
        QCOMPARE(find<QLineEdit>("leftPanBox")->text(), QStringLiteral("Center"));
    }

    // After Open the focus leaves the loop-folder button (whose Space opens the chooser) for where
    // Space plays: the window itself while Play is off, as it is without a sound server. Tab
    // visits the controls that take input and none of the boxes that only show.
    void keyboardFocus() {
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        find<QPushButton>("destinationButton")->setFocus();
        m_ui->chooseNextFile(write("st.wav", wave(2, patternBytes(1411200))));
        m_window->openAction()->trigger();
        QVERIFY(!m_window->audition()->playButton()->isEnabled());
        QCOMPARE(QApplication::focusWidget(), m_window.get());
        QTest::keyClick(m_window.get(), Qt::Key_Space);
        QVERIFY(m_ui->folderCaptions().empty());
        QStringList stops;
        for (QWidget* focus = find<QWidget>("destinationButton");
             !stops.contains(focus->objectName()); focus = QApplication::focusWidget()) {
            const auto* box = qobject_cast<QLineEdit*>(focus);
            QVERIFY2(!box || !box->isReadOnly(), qPrintable(focus->objectName()));
            stops << focus->objectName();
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QVERIFY(stops.contains("loopNumberBox") && stops.contains("rightPanBar"));
    }

    // The window takes no input while it saves, and takes it again afterwards, with the focus
    // back where it was.
    void disabledWhileSaving() {
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        auto* box = find<QLineEdit>("loopNumberBox");
        box->setFocus();
        m_ui->windowUsable = [this] { return m_window->isEnabled(); };
        m_window->saveAction()->trigger();  // no wave yet: refused
        QCOMPARE(m_ui->messageTexts(), std::vector<std::string>{message::kNoWaveOpened});
        QCOMPARE(m_ui->usableAtMessage, std::vector<bool>{false});
        QVERIFY(m_window->isEnabled() && box->hasFocus());
    }
};

QTEST_MAIN(TestWaveToRepeaterWindow)
#include "tst_wavetorepeaterwindow.moc"
