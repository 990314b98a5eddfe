// The Card window inside the window program, offscreen: it lists the card as brenvik-cli list
// does, marks broken loops, opens a double-clicked loop in the Repeater-to-wave window, offers a
// mounted card, exports the selected loops and restores a loop from the backup store.
#include <filesystem>

#include "BackupStore.h"
#include "CardWindow.h"
#include "ConverterWindows.h"
#include "GuiTest.h"
#include "LoopBackupsDialog.h"
#include "LoopFixture.h"
#include "LookCheck.h"
#include "Messages.h"
#include "Preferences.h"
#include "RepeaterToWaveWindow.h"
#include "TestFiles.h"
#include "ScriptedFiles.h"
#include "TestInteraction.h"

using namespace brenvik;
using namespace brenvik::test;

class TestCardWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::string m_card = m_dir.path().toStdString() + "/card";

    QStringList column(const CardWindow& window, int col) const {
        QStringList texts;
        for (int row = 0; row < window.table()->rowCount(); ++row) texts << window.table()->item(row, col)->text();
        return texts;
    }

private slots:
    void initTestCase() {
        makeCardLoop(m_card, 1, {1}, 200);
        makeCardLoop(m_card, 2, {2, 4}, 100);
        std::filesystem::remove(makeCardLoop(m_card, 3, {1, 4}, 10) + "/track4.wav");
    }

    void listsAndOpensALoop() {
        TestInteraction platform;
        ScriptedFiles files;
        platform.settings()["Startup/intLP"] = m_card;
        Preferences preferences;
        MainWindow main(preferences, files, platform, platform, converterWindowFactories(preferences, files, platform));
        main.startUp();
        auto* repeaterToWave = qobject_cast<RepeaterToWaveWindow*>(main.repeaterToWaveWindow());
        repeaterToWave->cardAction()->trigger();
        auto* card = qobject_cast<CardWindow*>(main.cardWindow());
        QVERIFY(card);
        QCOMPARE(column(*card, CardWindow::LoopColumn), (QStringList{"1", "2", "3"}));
        BRENVIK_CHECK_LOOK(card, "card-window");
        QCOMPARE(column(*card, CardWindow::ChannelsColumn), (QStringList{"mono", "stereo", "stereo"}));
        QCOMPARE(column(*card, CardWindow::CheckColumn), (QStringList{"ok", "ok", "1 problem(s)"}));
        QCOMPARE(card->table()->item(2, CardWindow::TempoColumn)->toolTip(),
                 QString("LOOP3: track4.wav: file: missing (the description chooses track 4)"));
        QVERIFY(card->table()->item(1, CardWindow::TempoColumn)->toolTip().isEmpty());
        card->table()->sortByColumn(CardWindow::LengthColumn, Qt::DescendingOrder);
        QCOMPARE(column(*card, CardWindow::LoopColumn), (QStringList{"1", "2", "3"}));
        card->table()->sortByColumn(CardWindow::LengthColumn, Qt::AscendingOrder);
        QCOMPARE(column(*card, CardWindow::LoopColumn), (QStringList{"3", "2", "1"}));

        // The Window list names the Card window; its own entry follows the list.
        QMenu* windowMenu = repeaterToWave->windowMenu();
        emit windowMenu->aboutToShow();
        QStringList entries;
        for (QAction* action : windowMenu->actions()) entries << (action->isSeparator() ? "-" : action->text());
        QCOMPARE(entries, (QStringList{"&1 .WAV to Repeater", "&2 Repeater to .WAV", "&3 Card", "-", "&Card"}));

        emit card->table()->cellDoubleClicked(1, CardWindow::LoopColumn);  // LOOP2, tracks 2 and 4
        const RepeaterToWaveModel& model = repeaterToWave->model();
        QCOMPARE(model.mode(), ChannelMode::Stereo);
        QCOMPARE(model.track(Channel::Left)->path, m_card + "/LOOP2/track2.wav");
        QCOMPARE(model.track(Channel::Right)->path, m_card + "/LOOP2/track4.wav");
        QVERIFY(platform.messages().empty());
    }

    // An empty initial loop folder: the window offers the mounted volume that holds loops.
    void offersAMountedCard() {
        const std::string media = m_dir.path().toStdString() + "/media";
        makeFolder(media, "user/EMPTY");
        makeCardLoop(media + "/user/REPEATER", 9, {1}, 4);
        TestInteraction platform;
        ScriptedFiles files;
        const Preferences preferences{makeFolder(m_dir.path().toStdString(), "home"), m_dir.path().toStdString(), 45, true};
        CardWindow window(preferences, files, platform, {m_dir.path().toStdString() + "/nowhere", media});
        QCOMPARE(window.table()->rowCount(), 0);
        QCOMPARE(window.offeredCard(), media + "/user/REPEATER");
        QVERIFY(child<QPushButton>(&window, "offerButton")->isVisibleTo(&window));
        child<QPushButton>(&window, "offerButton")->click();
        QCOMPARE(column(window, CardWindow::LoopColumn), QStringList{"9"});
        QVERIFY(!child<QPushButton>(&window, "offerButton")->isVisibleTo(&window));
    }

    // Export writes the selected loops' waves; an existing one is replaced only after a Yes.
    void exportsTheSelection() {
        TestInteraction platform;
        ScriptedFiles files;
        const std::string out = makeFolder(m_dir.path().toStdString(), "out");
        const Preferences preferences{m_card, out, 45, true};
        CardWindow window(preferences, files, platform, {});
        window.table()->selectRow(1);
        platform.chooseNextFolder(out);
        child<QPushButton>(&window, "exportButton")->click();
        QCOMPARE(platform.messageTexts(), std::vector<std::string>{message::kWriteSucceeded});
        QCOMPARE(readFile(out + "/LOOP2.wav").size(), size_t(44 + 2 * 100 * 512));
        writeFile(out + "/LOOP2.wav", {7});
        platform.clearRecords();
        platform.chooseNextFolder(out);
        platform.answerNextQuestion(MessageAnswer::No);
        child<QPushButton>(&window, "exportButton")->click();
        QCOMPARE(platform.messageTexts(), std::vector<std::string>{message::exportReplaces(out + "/LOOP2.wav")});
        QCOMPARE(platform.messages()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(readFile(out + "/LOOP2.wav"), std::vector<uint8_t>{7});
    }

    // A loop backed up, then changed on the card: its backup is listed, and Restore after a Yes
    // gives the card the old bytes back, the changed loop kept in the store first. A backup that
    // no longer matches its manifest is marked and not restored; a loop without backups is told so.
    void restoresABackup() {
        TestInteraction platform;
        ScriptedFiles files;
        const std::string card = makeFolder(m_dir.path().toStdString(), "restore");
        const std::string loop = makeCardLoop(card, 5, {1}, 50);
        makeCardLoop(card, 6, {1}, 50);
        const Tree before = treeOf(loop);
        backup::BackupStore store(files);
        store.backUpLoop(loop);
        writeFile(loop + "/track1.wav", {1, 2, 3});
        const Preferences preferences{card, card, 45, true};
        CardWindow window(preferences, files, platform, {});
        child<QPushButton>(&window, "backupsButton")->click();
        window.table()->selectRow(1);
        child<QPushButton>(&window, "backupsButton")->click();
        QStringList checks, dialogLook;
        const auto restoreRow = [&](int row) {
            whenModal([&checks, &dialogLook, row](QWidget* dialog) {
                auto* list = child<QTableWidget>(dialog, "backupTable");
                checks.clear();
                if (dialogLook.isEmpty()) dialogLook = lookOf(dialog);
                for (int r = 0; r < list->rowCount(); ++r) checks << list->item(r, LoopBackupsDialog::CheckColumn)->text();
                list->selectRow(row);
                child<QPushButton>(dialog, "restoreButton")->click();
                if (dialog->isVisible()) dialog->close();
            });
            window.table()->selectRow(0);
            child<QPushButton>(&window, "backupsButton")->click();
        };
        whenModal([](QWidget* dialog) {  // Restore with no backup chosen
            child<QPushButton>(dialog, "restoreButton")->click();
            dialog->close();
        });
        window.table()->selectRow(0);
        child<QPushButton>(&window, "backupsButton")->click();
        platform.answerNextQuestion(MessageAnswer::Yes);
        restoreRow(0);
        QCOMPARE(checks, QStringList{"matches its manifest"});
        QCOMPARE(dialogLook, keptLook("loop-backups-dialog", dialogLook));
        QVERIFY(treeOf(loop) == before);
        QCOMPARE(window.table()->item(0, CardWindow::CheckColumn)->text(), QString("ok"));
        const std::string target = card + "/LOOP5";
        QCOMPARE(platform.messageTexts(), (std::vector<std::string>{message::kSelectOneLoop, message::noBackupsOf(6),
                                                                    message::kNoBackupSelected,
                                                                    message::restoreReplaces(target),
                                                                    message::loopRestored(target)}));

        const std::vector<backup::StoredBackup> backups = store.listBackups(5);
        QCOMPARE(backups.size(), size_t(2));
        writeFile(backups[1].folder + "/LOOP5/track1.wav", {9});
        platform.clearRecords();
        restoreRow(1);
        QCOMPARE(checks, (QStringList{"matches its manifest", "does not match"}));
        QCOMPARE(platform.messageTexts(), std::vector<std::string>{message::backupFileChanged("LOOP5/track1.wav")});
        QVERIFY(treeOf(loop) == before);
    }
};

QTEST_MAIN(TestCardWindow)
#include "tst_cardwindow.moc"
