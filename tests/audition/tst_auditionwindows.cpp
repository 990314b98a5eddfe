// Listening in the windows through a PulseAudio server of the test's own (a null sink): Space
// plays and stops wherever the focus takes no space itself, the Card window follows the selected
// loop while it plays, one window's Play stops another's, and a backup plays in the Backups dialog.
#include "AudioPlayback.h"
#include "AuditionPanel.h"
#include "BackupStore.h"
#include "CardWindow.h"
#include "GuiTest.h"
#include "LoopFixture.h"
#include "Messages.h"
#include "Preferences.h"
#include "ScriptedFiles.h"
#include "SoundServer.h"
#include "TestFiles.h"
#include "TestInteraction.h"
#include "WaveToRepeaterWindow.h"
#include "WaveformView.h"

using namespace brenvik;
using namespace brenvik::test;

class TestAuditionWindows : public QObject {
    Q_OBJECT
    SoundServer m_server;
    QTemporaryDir m_dir;
    std::string m_card = m_dir.path().toStdString() + "/card";
    TestInteraction m_ui;
    ScriptedFiles m_files;
    Preferences m_preferences{m_card, m_dir.path().toStdString(), 45, true};
    std::unique_ptr<WaveToRepeaterWindow> m_wave;
    std::unique_ptr<CardWindow> m_cardWindow;

    static void activate(QWidget* window, QWidget* focus) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        focus->setFocus();
        QCOMPARE(QApplication::focusWidget(), focus);
    }

    // Tenths of the width whose column in the first lane shows a wave of a quarter of full scale:
    // drawn from above to below the lane's middle, never near its top or bottom.
    static int quarterScaleTenths(WaveformView* view) {
        const QImage drawn = view->grab().toImage();
        const int lane = drawn.height() / int(view->peaks().lanes().size());
        int waved = 0;
        for (int x = 0; x < drawn.width(); ++x) {
            const auto at = [&](double row) { return drawn.pixel(x, int(lane * row)); };
            waved += at(0.44) == at(0.5) && at(0.56) == at(0.5) && at(0.3) != at(0.5) && at(0.7) != at(0.5);
        }
        return waved * 10 / drawn.width();
    }

private slots:
    void initTestCase() {
        if (const QString why = m_server.start(); !why.isEmpty()) QSKIP(qPrintable(why));
        makeCardLoop(m_card, 1, {1, 2}, 200);  // 51200 frames
        makeCardLoop(m_card, 2, {3}, 10);      // 2560 frames
        makeCardLoop(m_card, 3, {1, 2, 4}, 10);
        const std::string path = m_dir.filePath("stereo.wav").toStdString();
        std::vector<uint8_t> quiet(400000);  // samples of -8192 to 7936: a quarter of full scale
        for (size_t i = 1; i < quiet.size(); i += 2) quiet[i] = static_cast<uint8_t>(int(i / 2 % 64) - 32);
        writeFile(path, test::wave(2, quiet));
        m_wave = std::make_unique<WaveToRepeaterWindow>(m_preferences, m_files, m_ui);
        m_wave->openWave(path);
        m_cardWindow =
            std::make_unique<CardWindow>(m_preferences, m_files, m_ui, std::vector<std::string>{});
        m_wave->show();
        m_cardWindow->show();
        QVERIFY(m_wave->audition()->playButton()->isEnabled());
        QTRY_VERIFY(quarterScaleTenths(m_wave->audition()->waveform()) >= 9);  // drawn as it sounds
    }

    void spaceFollowsTheFocus_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("plays");
        QTest::newRow("the loop number box takes a typed space") << "loopNumberBox" << false;
        QTest::newRow("a track option is pressed") << "leftTrack3" << false;
        QTest::newRow("a read-only box takes no typing") << "tempoBox" << true;
        QTest::newRow("the tempo bar") << "tempoBar" << true;
        QTest::newRow("the Play button, once") << "playButton" << true;
    }
    void spaceFollowsTheFocus() {
        QFETCH(QString, focus);
        QFETCH(bool, plays);
        auto* widget = child<QWidget>(m_wave.get(), qPrintable(focus));
        auto* loopNumber = child<QLineEdit>(m_wave.get(), "loopNumberBox");
        const QString number = loopNumber->text();
        activate(m_wave.get(), widget);
        QTest::keyClick(widget, Qt::Key_Space);
        QCOMPARE(m_wave->audition()->isPlaying(), plays);
        QCOMPARE(loopNumber->text(), focus == "loopNumberBox" ? number + ' ' : number);
        QTest::keyClick(widget, Qt::Key_Space);
        QVERIFY(!m_wave->audition()->isPlaying());
    }

    // The loop under the cursor plays, stopping the other window's playing; another loop selected
    // takes over from its start, the card listed again goes on playing, and a loop that cannot be
    // played stops it and says why.
    void cardFollowsTheSelection() {
        QTableWidget* table = m_cardWindow->table();
        AuditionPanel* panel = m_cardWindow->audition();
        m_wave->audition()->playButton()->click();
        activate(m_cardWindow.get(), table);
        table->selectRow(0);
        QTRY_VERIFY(panel->playButton()->isEnabled());
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(panel->isPlaying() && !m_wave->audition()->isPlaying());
        QCOMPARE(m_wave->audition()->playButton()->text(), QString(message::kPlayCaption));
        QTRY_VERIFY(panel->playback()->playheadFrame() > 2560);
        QVERIFY(panel->waveform()->findChild<QTimer*>()->isActive());  // the playhead drawn as it moves on
        table->selectRow(1);
        QTRY_COMPARE(panel->waveform()->peaks().frames(), int64_t{2560});
        QVERIFY(panel->isPlaying() && panel->playback()->playheadFrame() < 2560);
        m_cardWindow->refresh();
        QTest::qWait(50);
        QVERIFY(panel->isPlaying());
        // Space is not the table's too: a loop number typed after it is found as typed.
        QTest::keyClick(table, Qt::Key_Space);
        QTest::keyClick(table, Qt::Key_Space);
        QVERIFY(panel->isPlaying());
        QTest::keyClick(table, Qt::Key_3);
        const QString why = QString::fromStdString(message::playTrackCount("LOOP3", 3));
        QTRY_VERIFY(!panel->isPlaying());
        QCOMPARE(panel->playButton()->toolTip(), why);
        QCOMPARE(child<QLabel>(panel, "auditionNote")->text(), why);
        QVERIFY(m_ui.messages().empty());
    }

    // The Backups dialog plays the backup chosen when it opens.
    void backupPlays() {
        backup::BackupStore(m_files).backUpLoop(m_card + "/LOOP2");
        bool played = false;
        whenModal([&](QWidget* dialog) {
            auto* panel = dialog->findChild<AuditionPanel*>();
            panel->playButton()->click();
            played = panel->isPlaying();
            dialog->close();
        });
        child<QPushButton>(m_cardWindow.get(), "storeButton")->click();
        QVERIFY(played);
        QVERIFY(m_ui.messages().empty());
    }
};

QTEST_MAIN(TestAuditionWindows)
#include "tst_auditionwindows.moc"
