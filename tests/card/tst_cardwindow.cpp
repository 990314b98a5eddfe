// The Card window inside the window program, offscreen: it lists the card as brenvik-cli list
// does, tells the selected loop's problems, opens a loop in the Repeater-to-wave window, lists the
// card again when it changes, offers a mounted card, exports the selected loops and restores a
// loop from the backup store.
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <filesystem>
#include <fstream>

#include "BackupStore.h"
#include "CardNames.h"
#include "BackupsDialog.h"
#include "CardNamesFile.h"
#include "CardWatcher.h"
#include "CardNames.h"
#include "CardWindow.h"
#include "DropDialog.h"
#include "DropEvents.h"
#include "FolderLock.h"
#include "Groove.h"
#include "ConverterWindows.h"
#include "GuiTest.h"
#include "LoopContentHash.h"
#include "LoopDescription.h"
#include "LoopFixture.h"
#include "LoopLayout.h"
#include "LookCheck.h"
#include "LoopTable.h"
#include "Messages.h"
#include "Preferences.h"
#include "RepeaterToWaveWindow.h"
#include "TestFiles.h"
#include "ScriptedFiles.h"
#include "TestInteraction.h"
#include "UserLibrary.h"
#include "WaveTempo.h"
#include "WaveformView.h"
#include "WaveToRepeaterWindow.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

// The window program as main() assembles it, on a card folder and a wave folder.
struct Program {
    TestInteraction ui;
    ScriptedFiles files;
    Preferences preferences;
    MainWindow main{preferences, ui, ui, converterWindowFactories(preferences, files, ui)};
    Program(const std::string& card, const std::string& waves) {
        ui.settings() = {{"Startup/intLP", card}, {"Startup/intWV", waves}};
        main.startUp();
    }
};

// A Card window on its own with the scripted platform it talks to. A test that prepares the
// library or the backup store first hands in its files, which share their folder when copied.
struct LoneCardWindow {
    TestInteraction ui;
    ScriptedFiles files;
    Preferences preferences;
    CardWindow window;
    explicit LoneCardWindow(Preferences chosen, ScriptedFiles prepared = {},
                            std::vector<std::string> mountRoots = {})
        : files(std::move(prepared)),
          preferences(std::move(chosen)),
          window(preferences, files, ui, std::move(mountRoots)) {}
};

// How far apart the darkest and the lightest grey of a picture lie (0 to 255): a caption's strokes
// against its background.
int greySpreadOf(const QImage& image) {
    int darkest = 255, lightest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
            lightest = std::max(lightest, qGray(image.pixel(x, y)));
        }
    return lightest - darkest;
}

// The drop dialog answered once it is up: the window examines the files first.
void answerDropDialog(std::function<void(DropDialog*)> act) {
    QTimer::singleShot(0, [act = std::move(act)]() mutable {
        if (auto* dialog = qobject_cast<DropDialog*>(QApplication::activeModalWidget())) act(dialog);
        else answerDropDialog(std::move(act));
    });
}

// A loop of `card` dragged onto a row of the table and dropped there, with Ctrl when `copy`.
void dropLoop(LoopTable* table, const std::string& card, int number, int row, bool copy = false) {
    QMimeData data;
    data.setData(LoopTable::kLoopMimeType, QString::fromStdString(card + "\n" + std::to_string(number)).toUtf8());
    const QPointF at = table->visualRect(table->model()->index(row, 0)).center();
    const Qt::KeyboardModifiers keys = copy ? Qt::ControlModifier : Qt::NoModifier;
    QDragEnterEvent enter(at.toPoint(), Qt::MoveAction | Qt::CopyAction, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(table->viewport(), &enter);
    QDropEvent drop(at, Qt::MoveAction | Qt::CopyAction, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(table->viewport(), &drop);
    QApplication::processEvents();  // the window arranges once the drop has ended
}

// The row of a loop number, or of the run of free numbers that starts with it.
int rowOf(const LoopTable* table, int number) {
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->numberOfRow(row) == number) return row;
    return -1;
}

}  // namespace

class TestCardWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::string m_card = m_dir.path().toStdString() + "/card";
    std::string m_waves = m_dir.path().toStdString() + "/waves";

    QStringList column(const CardWindow& window, int col) const {
        QStringList texts;
        for (int row = 0; row < window.table()->rowCount(); ++row)
            if (!window.table()->isFreeRow(row)) texts << window.table()->item(row, col)->text();
        return texts;
    }

private slots:
    void initTestCase() {
        makeCardLoop(m_card, 1, {1}, 200, 8, 0, 4);
        const std::string loop2 = makeCardLoop(m_card, 2, {2, 4}, 100, 6, 0, 4);
        for (const char* track : {"/track2.wav", "/track4.wav"})  // a sine 20 dB under full scale on both sides
            writeFile(loop2 + track, expectedTrack(sineBytes(100 * 512, 997, 0.1)));
        std::filesystem::remove(makeCardLoop(m_card, 3, {1, 4}, 10) + "/track4.wav");
        makeFolder(m_dir.path().toStdString(), "waves");
    }

    // The Card window opens wholly inside the main window's area, lists the card and its totals,
    // opens a loop on Enter or a double click and exports from the wave folder; the toolbars' Card
    // reads clearly.
    void listsAndOpensALoop() {
        Program program(m_card, m_waves);
        program.files.setFreeSpace(loop::kSpaceMargin +
                                   20 * 60 * int64_t(loop::kTrackBytesPerSecond));
        auto* repeaterToWave = qobject_cast<RepeaterToWaveWindow*>(program.main.repeaterToWaveWindow());
        repeaterToWave->cardAction()->trigger();
        auto* card = qobject_cast<CardWindow*>(program.main.cardWindow());
        QVERIFY(card && card->parentWidget()->parentWidget()->rect().contains(card->parentWidget()->geometry()));
        for (ConverterWindow* converter : {program.main.waveToRepeaterWindow(), program.main.repeaterToWaveWindow()}) {
            auto* toolbar = converter->findChild<QToolBar*>();
            const QImage caption = toolbar->grab(toolbar->widgetForAction(converter->cardAction())->geometry()).toImage();
            QVERIFY2(greySpreadOf(caption) > 160, qPrintable(converter->windowTitle()));
        }
        QCOMPARE(column(*card, CardWindow::LoopColumn), (QStringList{"1", "2", "3"}));
        QCOMPARE(child<QLabel>(card, "totalsLabel")->text(),
                 QString("3 loops, 996 loop numbers free (lowest 4), free space 105.9 MB (20 min "
                         "mono, 10 min stereo)"));
        BRENVIK_CHECK_LOOK(card, "card-window");
        QCOMPARE(column(*card, CardWindow::ChannelsColumn), (QStringList{"mono", "stereo", "stereo"}));
        // Bars as bars, the beats of an unfinished bar after a plus, beside the stored counts.
        QStringList headings;
        for (int c : {CardWindow::BarsColumn, CardWindow::BeatsPerBarColumn, CardWindow::BeatCountColumn})
            headings << card->table()->horizontalHeaderItem(c)->text();
        QCOMPARE(headings, (QStringList{"Bars", "Beats/Bar", "Beats"}));
        QCOMPARE(column(*card, CardWindow::BarsColumn), (QStringList{"2", "1 + 2", "1"}));
        QCOMPARE(column(*card, CardWindow::BeatsPerBarColumn), (QStringList{"4", "4", "1"}));
        QCOMPARE(column(*card, CardWindow::BeatCountColumn), (QStringList{"8", "6", "1"}));
        QCOMPARE(column(*card, CardWindow::CheckColumn), (QStringList{"ok", "ok", "1 problem(s)"}));
        QCOMPARE(card->table()->item(2, CardWindow::TempoColumn)->toolTip(),
                 QString("LOOP3: track4.wav: file: missing (the description chooses track 4): that channel is silent; restore it from a backup"));
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

        QApplication::setActiveWindow(&program.main);
        QVERIFY(QTest::qWaitForWindowActive(&program.main));
        card->table()->selectRow(1);  // LOOP2, tracks 2 and 4
        QTest::keyClick(card->table(), Qt::Key_Return);
        const RepeaterToWaveModel& model = repeaterToWave->model();
        QCOMPARE(model.mode(), ChannelMode::Stereo);
        QCOMPARE(model.track(Channel::Left)->path, m_card + "/LOOP2/track2.wav");
        QCOMPARE(model.track(Channel::Right)->path, m_card + "/LOOP2/track4.wav");
        const QPoint loop1 = card->table()->visualRect(card->table()->model()->index(2, CardWindow::TempoColumn)).center();
        QTest::mouseClick(card->table()->viewport(), Qt::LeftButton, {}, loop1);
        QTest::mouseDClick(card->table()->viewport(), Qt::LeftButton, {}, loop1);
        QCOMPARE(model.track(Channel::Left)->path, m_card + "/LOOP1/track1.wav");
        whenModal([this](QWidget* chooser) {  // Export starts at the wave folder
            QCOMPARE(child<QLineEdit>(chooser, "folderEdit")->text().toStdString(), m_waves);
            child<QPushButton>(chooser, "cancelButton")->click();
        });
        child<QPushButton>(card, "exportButton")->click();
        QVERIFY(program.ui.messages().empty());
    }

    // The pane under the table tells the selected loop's problems and how loud it plays (a loop
    // that cannot play, not at all), whatever the sort order, and the selection outlives a new
    // listing.
    void detailsTellTheSelectedLoop_data() {
        QTest::addColumn<int>("order");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("details");
        QTest::newRow("intact") << int(Qt::AscendingOrder) << 1 << "LOOP2 is intact\nLoudness -20.0 LUFS, true peak -20.0 dBTP";
        QTest::newRow("a track missing, sorted the other way")
            << int(Qt::DescendingOrder) << 1 << "LOOP3 has 1 problem:\ntrack4.wav: file: missing (the description chooses track 4): that channel is silent; "
               "restore it from a backup";
        QTest::newRow("none selected") << int(Qt::AscendingOrder) << -1 << message::kNoLoopChosen;
    }
    void detailsTellTheSelectedLoop() {
        QFETCH(int, order);
        QFETCH(int, row);
        LoneCardWindow lone({m_card, m_card, 45, true});
        auto& [ui, files, preferences, window] = lone;
        window.table()->sortByColumn(CardWindow::LoopColumn, Qt::SortOrder(order));
        window.table()->selectRow(row);
        window.refresh();
        QFETCH(QString, details);
        QTRY_COMPARE(child<QLabel>(&window, "detailsLabel")->text(), details);
    }

    // A change an earlier program left half-done (its intent recorded, a loop staged) is taken back
    // before the Card window lists the card (opened or refreshed) and before a Save or a drop in
    // the window changes it; the program's status line says so.
    void takesBackAnInterruptedChange_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("Card window opened") << "open";
        QTest::newRow("Refresh") << "refresh";
        QTest::newRow("Save in the wave window") << "save";
        QTest::newRow("loop dropped on a free number") << "drop";
    }
    void takesBackAnInterruptedChange() {
        QFETCH(QString, way);
        const std::string card = makeFolder(m_dir.path().toStdString(), "interrupted-" + way.toStdString());
        const Tree loop1 = treeOf(makeCardLoop(card, 1, {1}, 10));
        makeCardLoop(card, 2, {1}, 20);
        const auto interrupt = [&] {
            const std::string staging = makeFolder(card, ".brenvik-staging");
            const std::string intent = "brenvik card change 1\nwhat\tswap LOOP1 and LOOP2\nend\n";
            writeFile(staging + "/intent", std::vector<uint8_t>(intent.begin(), intent.end()));
            writeFile(makeFolder(staging, "new-1") + "/track1.wav", {1, 2});
        };
        Program program(card, m_waves);
        if (way == "open") interrupt();
        program.main.repeaterToWaveWindow()->cardAction()->trigger();
        auto* window = qobject_cast<CardWindow*>(program.main.cardWindow());
        if (way != "open") interrupt();  // the window's own listing comes later, once the card is quiet
        if (way == "refresh") child<QPushButton>(window, "refreshButton")->click();
        if (way == "drop") dropLoop(window->table(), card, 1, rowOf(window->table(), 3));
        if (way == "save") {
            auto* waveToRepeater = qobject_cast<WaveToRepeaterWindow*>(program.main.waveToRepeaterWindow());
            writeFile(m_waves + "/beat.wav", test::wave(1, patternBytes(176400)));
            waveToRepeater->openWave(m_waves + "/beat.wav");
            waveToRepeater->saveAction()->trigger();
        }
        QTRY_COMPARE(program.main.findChild<QStatusBar*>("statusLine")->currentMessage(),
                     QString::fromStdString("Took back an interrupted change on " + card + ": swap LOOP1 and LOOP2"));
        QVERIFY(!fs::exists(card + "/.brenvik-staging"));
        QVERIFY(treeOf(card + (way == "drop" ? "/LOOP3" : "/LOOP1")) == loop1);
        const QStringList loops{way == "drop" ? "2" : "1", way == "open" || way == "refresh" ? "2" : "3"};
        QCOMPARE(column(*window, CardWindow::LoopColumn), way == "save" ? (QStringList{"1", "2", "3"}) : loops);
    }

    // A change that cannot be finished (a loop left aside by an earlier version whose number is
    // taken again) is told once in a message box with its reason, not at every listing; the
    // status line has it each time.
    void toldOnceWhenAChangeCannotBeFinished() {
        const std::string card = makeFolder(m_dir.path().toStdString(), "stuck");
        makeCardLoop(card, 1, {1}, 10);
        const std::string aside = makeCardLoop(card + "/.brenvik-arranging", 1, {1}, 20);
        LoneCardWindow lone({card, card, 45, true});
        auto& [ui, files, preferences, window] = lone;
        QSignalSpy notes(&window, &CardWindow::statusMessage);
        window.refresh();
        const std::string line = card + " holds an interrupted change that could not be finished: a change by an "
                                        "earlier version";
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{line});
        QCOMPARE(ui.messages()[0].icon, MessageIcon::Critical);
        QCOMPARE(ui.messages()[0].detail, aside + " holds a loop whose number is taken again");
        QTRY_COMPARE(notes.size(), 2);
        QCOMPARE(notes.last().first().toString().toStdString(), line);
    }

    // With names kept on the card, opening it reads its names file; a change the window makes
    // writes the file again, with the names this computer knows of the loops now on the card.
    void keepsNamesOnTheCard() {
        ScriptedFiles files;
        const std::string card = makeFolder(m_dir.path().toStdString(), "names");
        const std::string hash[] = {*library::loopContentHash(makeCardLoop(card, 1, {1}, 5)).hex,
                                    *library::loopContentHash(makeCardLoop(card, 2, {1}, 6)).hex};
        const std::string file = card + "/BRENVIK.TXT", text = "Brenvik loop names 1\n" + hash[0] + "\tIntro\n";
        writeFile(file, {text.begin(), text.end()});
        library::LoopLibrary& library = library::userLibrary(files);
        QVERIFY(library.rename(hash[1], "Verse"));
        LoneCardWindow lone({.loopFolder = card, .waveFolder = card, .namesOnCard = true}, files);
        CardWindow& window = lone.window;
        QCOMPARE(library.find(hash[0])->name, std::string("Intro"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dropLoop(window.table(), card, 1, rowOf(window.table(), 3));
        const std::vector<uint8_t> written = readFile(file);
        QCOMPARE(std::string(written.begin(), written.end()),
                 card::namesFileText({{hash[1], "Verse", ""}, {hash[0], "Intro", ""}}));  // in loop order
    }

    // A save in the program is listed at once; a loop folder added and a track file removed
    // outside it once the card has been quiet for a moment.
    void listsTheCardAgainWhenItChanges() {
        const std::string card = makeFolder(m_dir.path().toStdString(), "changing");
        makeCardLoop(card, 1, {1}, 10);
        Program program(card, m_waves);
        QVERIFY(QTest::qWaitForWindowExposed(&program.main));  // maximised on this screen
        program.main.repeaterToWaveWindow()->cardAction()->trigger();
        auto* window = qobject_cast<CardWindow*>(program.main.cardWindow());
        auto* waveToRepeater = qobject_cast<WaveToRepeaterWindow*>(program.main.waveToRepeaterWindow());
        writeFile(m_waves + "/beat.wav", test::wave(1, patternBytes(176400)));
        waveToRepeater->openWave(m_waves + "/beat.wav");
        waveToRepeater->saveAction()->trigger();
        QCOMPARE(column(*window, CardWindow::LoopColumn), (QStringList{"1", "2"}));
        makeCardLoop(card, 7, {1}, 4);
        QTRY_COMPARE(column(*window, CardWindow::LoopColumn), (QStringList{"1", "2", "7"}));
        // The selected loop's loudness is measured again once its audio has changed.
        window->table()->selectRow(rowOf(window->table(), 7));
        QTRY_VERIFY(child<QLabel>(window, "detailsLabel")->text().endsWith(" dBTP"));
        const std::string track = card + "/LOOP7/track1.wav";
        writeFile(track, expectedTrack(std::vector<uint8_t>(4 * 512)));  // silence, the same size
        fs::last_write_time(track, fs::last_write_time(track) + std::chrono::seconds(1));
        window->refresh();
        QTRY_VERIFY(child<QLabel>(window, "detailsLabel")->text().endsWith("\nLoudness silent"));
        std::filesystem::remove(card + "/LOOP1/track1.wav");
        QTRY_COMPARE(column(*window, CardWindow::CheckColumn), (QStringList{"1 problem(s)", "ok", "ok"}));
    }

    // An empty initial loop folder: the window offers the mounted volume that holds loops.
    void offersAMountedCard() {
        const std::string media = m_dir.path().toStdString() + "/media";
        makeFolder(media, "user/EMPTY");
        makeCardLoop(media + "/user/REPEATER", 9, {1}, 4);
        LoneCardWindow lone(
            {makeFolder(m_dir.path().toStdString(), "home"), m_dir.path().toStdString(), 45, true},
            {}, {m_dir.path().toStdString() + "/nowhere", media});
        CardWindow& window = lone.window;
        QCOMPARE(column(window, CardWindow::LoopColumn), QStringList());
        QCOMPARE(window.offeredCard(), media + "/user/REPEATER");
        QVERIFY(child<QPushButton>(&window, "offerButton")->isVisibleTo(&window));
        child<QPushButton>(&window, "offerButton")->click();
        QCOMPARE(column(window, CardWindow::LoopColumn), QStringList{"9"});
        QVERIFY(!child<QPushButton>(&window, "offerButton")->isVisibleTo(&window));
    }

    // Eject, on a key of its own: refused while another program holds the card; then the card's
    // volume goes and the window shows the card gone.
    void ejectsTheCard() {
        const std::string card = makeFolder(m_dir.path().toStdString(), "ejected");
        makeCardLoop(card, 1, {1}, 10);
        LoneCardWindow lone({card, card, 45, true});
        auto& [ui, files, preferences, window] = lone;
        std::set<QChar> keys;
        for (const QPushButton* button : window.findChildren<QPushButton*>())
            if (const qsizetype at = button->text().indexOf('&'); at >= 0)
                QVERIFY2(keys.insert(button->text()[at + 1].toUpper()).second, qPrintable(button->text()));
        QVERIFY(keys.count('E'));
        std::vector<std::string> ejected;
        window.ejectVolumeHook = [&](const std::string& folder) {
            ejected.push_back(folder);
            fs::remove_all(folder + "/LOOP1");  // what an unmounted card leaves of its folder
            return VolumeEjection{VolumeEjection::Result::PoweredOff, {}};
        };
        {
            const auto held = FolderLock::take(card, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
            child<QPushButton>(&window, "ejectButton")->click();
        }
        QCOMPARE(column(window, CardWindow::LoopColumn), QStringList{"1"});
        child<QPushButton>(&window, "ejectButton")->click();
        QCOMPARE(ejected, std::vector<std::string>{card});
        QCOMPARE(ui.messageTexts(), (std::vector<std::string>{message::ejectWhileChanging(card), message::cardEjected(card)}));
        QCOMPARE(ui.messages()[0].icon, MessageIcon::Critical);
        QCOMPARE(ui.messages()[1].icon, MessageIcon::None);
        QCOMPARE(column(window, CardWindow::LoopColumn), QStringList());
    }

    // Export makes a missing target folder (or says why it cannot) and writes the selected loops'
    // waves, the focus back where it was; an existing wave is replaced only after a Yes, and one
    // that cannot be written is named with its reason.
    void exportsTheSelection() {
        const std::string out = m_dir.path().toStdString() + "/out/new";
        LoneCardWindow lone({m_card, out, 45, true});
        auto& [ui, files, preferences, window] = lone;
        window.show();
        window.table()->selectRow(1);
        auto* exportButton = child<QPushButton>(&window, "exportButton");
        exportButton->setFocus();
        QWidget chooser;  // active still: the desktop hands the activation back only later
        chooser.show();
        QApplication::setActiveWindow(&chooser);
        ui.chooseNextFolder(out);
        exportButton->click();
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{message::kWriteSucceeded});
        QCOMPARE(readFile(out + "/LOOP2.wav").size(), size_t(44 + 2 * 100 * 512));
        QApplication::setActiveWindow(&window);
        QVERIFY(exportButton->hasFocus());
        ui.clearRecords();
        ui.chooseNextFolder(out + "/LOOP2.wav/sub");
        exportButton->click();
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{message::exportFolderNotCreated(out + "/LOOP2.wav/sub")});
        QCOMPARE(ui.messages()[0].detail, "cannot create the folder " + out + "/LOOP2.wav/sub: Not a directory");
        writeFile(out + "/LOOP2.wav", {7});
        ui.clearRecords();
        ui.chooseNextFolder(out);
        ui.answerNextQuestion(MessageAnswer::No);
        child<QPushButton>(&window, "exportButton")->click();
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{message::exportReplaces(out + "/LOOP2.wav")});
        QCOMPARE(ui.messages()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(readFile(out + "/LOOP2.wav"), std::vector<uint8_t>{7});
        // A wave that cannot be written is named with the system's reason, as brenvik-cli says it.
        fs::remove(out + "/LOOP2.wav");
        fs::create_directories(out + "/LOOP2.wav/kept");
        ui.clearRecords();
        ui.chooseNextFolder(out);
        child<QPushButton>(&window, "exportButton")->click();
        QCOMPARE(ui.messageTexts(),
                 std::vector<std::string>{out + "/LOOP2.wav could not be written"});
        QCOMPARE(ui.messages()[0].detail, "cannot create " + out + "/LOOP2.wav: Is a directory");
        QCOMPARE(ui.messages()[0].icon, MessageIcon::Critical);
        // A loop with a damaged track is exported only after a Yes to the question naming it.
        window.table()->selectRow(2);
        ui.clearRecords();
        ui.chooseNextFolder(out);
        ui.answerNextQuestion(MessageAnswer::No);
        child<QPushButton>(&window, "exportButton")->click();
        QCOMPARE(ui.messageTexts(), std::vector<std::string>{message::exportDamaged(
                                        "LOOP3", "track4.wav: file: missing (the description chooses track 4): that "
                                                 "channel is silent; restore it from a backup")});
        QCOMPARE(ui.messages()[0].buttons, MessageButtons::YesNo);
        QVERIFY(!fs::exists(out + "/LOOP3.wav") && !fs::exists(out + "/LOOP3-track2.wav"));
    }

    // The Backups dialog, of one loop and of the whole store: this card's backups first, another
    // card's named as its ORIGIN records it, one without a record said so; a store over its limit
    // says by how much. A damaged backup is refused with what its check found and nothing written;
    // Restore puts a backup into the number beside the button, a loop there replaced after a Yes,
    // and Undo takes it back.
    void restoresABackup_data() {
        QTest::addColumn<bool>("wholeStore");
        QTest::newRow("one loop") << false;
        QTest::newRow("whole store") << true;
    }
    void restoresABackup() {
        QFETCH(bool, wholeStore);
        ScriptedFiles files;
        const QTemporaryDir dir;
        const std::string card = makeFolder(dir.path().toStdString(), "mine");
        const std::string other = makeFolder(dir.path().toStdString(), "other");
        const std::string loop = makeCardLoop(card, 5, {1}, 50);
        makeCardLoop(card, 6, {1}, 50);
        const Tree before = treeOf(loop);
        backup::BackupStore store(files);
        store.backUpLoop(loop);
        writeFile(loop + "/track1.wav", {1, 2, 3});
        const Tree changed = treeOf(loop);
        writeFile(store.backUpLoop(makeCardLoop(other, 5, {1}, 40)) + "/LOOP5/track1.wav", {9});  // damaged
        const std::string unrecorded = store.root() + "/LOOP9-20000101T000000Z";  // no ORIGIN, no files
        std::filesystem::create_directories(unrecorded);
        std::ofstream(unrecorded + "/MANIFEST.sha256").close();
        std::ofstream(unrecorded + "/LOOP9").close();
        std::filesystem::resize_file(unrecorded + "/LOOP9", uintmax_t{3} << 30);  // sparse, over the limit
        LoneCardWindow lone({card, card, 45, true}, files);
        CardWindow& window = lone.window;
        child<QPushButton>(&window, "backupsButton")->click();
        window.table()->selectRow(rowOf(window.table(), 6));
        child<QPushButton>(&window, "backupsButton")->click();

        QStringList look, checks, marks;
        QString over;
        lone.ui.answerNextQuestion(MessageAnswer::Yes);
        whenModal([&](QWidget* dialog) {
            look = lookOf(dialog);
            auto* list = child<QTableWidget>(dialog, "backupTable");
            for (int r = 0; r < list->rowCount(); ++r) {
                checks << list->item(r, BackupsDialog::CheckColumn)->text();
                marks << list->item(r, BackupsDialog::CardColumn)->text();
            }
            over = child<QLabel>(dialog, "overLimitLabel")->text();
            const auto restore = [&](int row, int into) {
                if (row >= 0) list->selectRow(row);
                else list->clearSelection();
                child<QSpinBox>(dialog, "targetBox")->setValue(into);
                child<QPushButton>(dialog, "restoreButton")->click();
            };
            restore(-1, 5);  // none chosen
            restore(1, 8);   // the damaged one
            restore(0, 8);
            restore(0, 5);
            dialog->close();
        });
        window.table()->selectRow(rowOf(window.table(), 5));
        child<QPushButton>(&window, wholeStore ? "storeButton" : "backupsButton")->click();

        QCOMPARE(look, keptLook("backups-dialog", look));
        const backup::BackupOrigin otherCard = backup::originOf(other, std::nullopt, {});
        QStringList expectedMarks{message::kThisCard,
                                  QString::fromStdString(message::fromAnotherCard(otherCard.card, otherCard.label))};
        QStringList expectedChecks{"matches its manifest", "does not match"};
        if (wholeStore) {
            expectedMarks << message::kCardNotRecorded;
            expectedChecks << "does not match";
        }
        QCOMPARE(marks, expectedMarks);
        QCOMPARE(checks, expectedChecks);
        QVERIFY(over.startsWith("The backup store is 1"));
        QVERIFY(treeOf(loop) == before);
        QVERIFY(treeOf(card + "/LOOP8") == before);
        QCOMPARE(window.table()->item(rowOf(window.table(), 5), CardWindow::CheckColumn)->text(), QString("ok"));
        QCOMPARE(lone.ui.messageTexts(),
                 (std::vector<std::string>{message::kSelectOneLoop, message::noBackupsOf(6), message::kNoBackupSelected,
                                           message::backupFileChanged("LOOP5/track1.wav"),
                                           message::loopRestored(card + "/LOOP8"), message::restoreReplaces(loop),
                                           message::loopRestored(loop)}));
        child<QPushButton>(&window, "undoButton")->click();  // the last restore taken back
        QVERIFY(treeOf(loop) == changed);
    }

    // The Backups dialog opens with the newest backup chosen (here another card's, listed second),
    // shows each backup's loop name, tempo, length and channels, and the chosen one's waveform to
    // play; no note of a store over its limit.
    void backupsShowTheirLoops() {
        ScriptedFiles files;
        const QTemporaryDir dir;
        const std::string card = makeFolder(dir.path().toStdString(), "mine");
        backup::BackupStore store(files);
        const std::string named = makeCardLoop(card, 4, {1}, 1723, 16, 96);
        library::userLibrary(files).rename(*library::loopContentHash(named).hex, "Intro groove");
        fs::rename(store.backUpLoop(named), store.root() + "/LOOP4-20200101T000000Z");
        store.backUpLoop(makeCardLoop(makeFolder(dir.path().toStdString(), "other"), 7, {1, 2}, 862, 8, 120));
        LoneCardWindow lone({card, card, 45, true}, files);
        CardWindow& window = lone.window;
        QStringList rows;
        QModelIndexList chosen;
        bool shown = false, overLimitShown = true;
        whenModal([&](QWidget* dialog) {
            auto* list = child<QTableWidget>(dialog, "backupTable");
            for (int r = 0; r < list->rowCount(); ++r)
                for (const int c : {BackupsDialog::LoopColumn, BackupsDialog::NameColumn, BackupsDialog::TempoColumn,
                                    BackupsDialog::LengthColumn, BackupsDialog::ChannelsColumn})
                    rows << list->item(r, c)->text();
            chosen = list->selectionModel()->selectedRows();
            overLimitShown = child<QLabel>(dialog, "overLimitLabel")->isVisibleTo(dialog);
            const WaveformView* waveform = dialog->findChild<WaveformView*>();
            shown = QTest::qWaitFor([waveform] { return waveform->peaks().frames() == 862 * 256; });
            dialog->close();
        });
        child<QPushButton>(&window, "storeButton")->click();
        QCOMPARE(rows, (QStringList{"LOOP4", "Intro groove", "96.0", "10.0 s", "mono", "LOOP7", "", "120.0", "5.0 s", "stereo"}));
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0].row(), 1);
        QVERIFY(shown);
        QVERIFY(!overLimitShown);  // a store within its limit has nothing to say under the list
    }

    // Dragged onto a free number a loop moves there byte for byte, with Ctrl it is copied; onto
    // another loop the two swap after a Yes; Delete deletes after a Yes (the loop kept in the
    // store); Undo (Ctrl+Z) walks back through these and Redo (Ctrl+Shift+Z, Ctrl+Y) forth again.
    // A loop placed is the one selected, on the top row too.
    void arrangesTheCard() {
        const std::string card = makeFolder(m_dir.path().toStdString(), "arrange");
        std::map<int, Tree> made;
        for (const int n : {1, 2, 3}) made[n] = treeOf(makeCardLoop(card, n, {1}, 10 * n));
        const auto loopsAre = [&](const std::map<int, int>& from) {
            for (int n = 1; n <= 6; ++n) {
                const auto source = from.find(n);
                const bool there = std::filesystem::exists(card + "/LOOP" + std::to_string(n));
                if (source == from.end() ? there : !there || treeOf(card + "/LOOP" + std::to_string(n)) != made[source->second])
                    return false;
            }
            return true;
        };
        LoneCardWindow lone({card, card, 45, true});
        auto& [ui, files, preferences, window] = lone;
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        LoopTable* table = window.table();

        dropLoop(table, card, 1, rowOf(table, 4));
        QVERIFY(loopsAre({{2, 2}, {3, 3}, {4, 1}}));
        dropLoop(table, card, 4, rowOf(table, 5), true);
        QVERIFY(loopsAre({{2, 2}, {3, 3}, {4, 1}, {5, 1}}));
        ui.answerNextQuestion(MessageAnswer::No);
        dropLoop(table, card, 2, rowOf(table, 3));
        ui.answerNextQuestion(MessageAnswer::Yes);
        dropLoop(table, card, 2, rowOf(table, 3));
        QVERIFY(loopsAre({{2, 3}, {3, 2}, {4, 1}, {5, 1}}));
        const size_t kept = backup::BackupStore(files).listBackups(2).size();  // the swap's
        table->selectRow(rowOf(table, 2));
        ui.answerNextQuestion(MessageAnswer::Yes);
        QTest::keyClick(table, Qt::Key_Delete);
        QVERIFY(loopsAre({{3, 2}, {4, 1}, {5, 1}}));
        QCOMPARE(backup::BackupStore(files).listBackups(2).size(), kept + 1);
        // The swapped loop is watched under its new number: a change to it outside is listed.
        QTest::qWait(2 * CardWatcher::kQuietMs);  // the window's own changes have been noticed by now
        const std::vector<uint8_t> track = readFile(card + "/LOOP3/track1.wav");
        std::filesystem::remove(card + "/LOOP3/track1.wav");
        QTRY_COMPARE(column(window, CardWindow::CheckColumn).value(0), QString("1 problem(s)"));
        writeFile(card + "/LOOP3/track1.wav", track);
        // Back through the delete, the swap and the move (a copy is not undone), then forth again.
        const std::vector<std::pair<const char*, std::map<int, int>>> walk{
            {"Ctrl+Z", {{2, 3}, {3, 2}, {4, 1}, {5, 1}}},      {"undoButton", {{2, 2}, {3, 3}, {4, 1}, {5, 1}}},
            {"Ctrl+Z", {{1, 1}, {2, 2}, {3, 3}, {5, 1}}},      {"Ctrl+Z", {{1, 1}, {2, 2}, {3, 3}, {5, 1}}},
            {"Ctrl+Shift+Z", {{2, 2}, {3, 3}, {4, 1}, {5, 1}}}, {"redoButton", {{2, 3}, {3, 2}, {4, 1}, {5, 1}}},
            {"Ctrl+Y", {{3, 2}, {4, 1}, {5, 1}}},              {"Ctrl+Y", {{3, 2}, {4, 1}, {5, 1}}}};
        for (const auto& [press, loops] : walk) {
            if (QByteArray(press).endsWith("Button")) child<QPushButton>(&window, press)->click();
            else QTest::keySequence(table, QKeySequence(QString::fromLatin1(press)));
            QVERIFY2(loopsAre(loops), press);
        }
        QCOMPARE(ui.messageTexts(), (std::vector<std::string>{message::swapQuestion(2, 3), message::swapQuestion(2, 3),
                                                                message::deleteQuestion("LOOP2"),
                                                                message::nothingToUndo(card), message::nothingToRedo(card)}));
        // Moved to another card from the Card menu, LOOP5 leaves this one; Undo brings it back.
        const std::string other = makeFolder(m_dir.path().toStdString(), "arrange-other");
        window.chooseFolderHook = [&](const std::string&, const std::string&) { return std::optional(other); };
        table->selectRow(rowOf(table, 5));
        child<QAction>(&window, "moveToCardAction")->trigger();
        QVERIFY(loopsAre({{3, 2}, {4, 1}}) && treeOf(other + "/LOOP5") == made[1]);
        QTest::keySequence(table, QKeySequence(QStringLiteral("Ctrl+Z")));
        QVERIFY(loopsAre({{3, 2}, {4, 1}, {5, 1}}) && !std::filesystem::exists(other + "/LOOP5"));
        // Copied to the top row, the copy is the one selected.
        dropLoop(table, card, 4, rowOf(table, 1), true);
        QVERIFY(loopsAre({{1, 1}, {3, 2}, {4, 1}, {5, 1}}));
        const QModelIndexList selected = table->selectionModel()->selectedRows();
        QVERIFY(selected.size() == 1 && table->numberOfRow(selected[0].row()) == 1);
    }

    // From the keyboard alone: opened from the menu, the loops have the focus (a freed number in its
    // gap) and the Card menu stands before Window; LOOP1 taken with the arrow keys, then moved, copied or
    // swapped by shortcut or context menu to the number given, and selected there afterwards. The
    // window opens with every column and the totals line whole, and reopens at its closing size.
    void arrangesFromTheKeyboard_data() {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("mnemonic");  // the context menu's key, after `keys` opened it
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("loops");
        QTest::newRow("move, Ctrl+M") << QKeySequence("Ctrl+M") << 0 << 2 << QStringList{"2", "3"};
        QTest::newRow("copy, Ctrl+D") << QKeySequence("Ctrl+D") << 0 << 5 << QStringList{"1", "3", "5"};
        QTest::newRow("swap, Ctrl+T") << QKeySequence("Ctrl+T") << 0 << 3 << QStringList{"1", "3"};
        QTest::newRow("move, Menu key") << QKeySequence(Qt::Key_Menu) << int(Qt::Key_M) << 4 << QStringList{"3", "4"};
        QTest::newRow("copy, Shift+F10") << QKeySequence("Shift+F10") << int(Qt::Key_C) << 2
                                         << QStringList{"1", "2", "3"};
    }
    void arrangesFromTheKeyboard() {
        QFETCH(QKeySequence, keys);
        QFETCH(int, mnemonic);
        QFETCH(int, number);
        QFETCH(QStringList, loops);
        const std::string card = makeFolder(m_dir.path().toStdString(), "keys-" + std::string(QTest::currentDataTag()));
        const Tree first = treeOf(makeCardLoop(card, 1, {1}, 10));
        makeCardLoop(card, 3, {1, 2}, 20);
        Program program(card, m_waves);
        QVERIFY(QTest::qWaitForWindowExposed(&program.main));  // maximised on this screen
        program.main.repeaterToWaveWindow()->cardAction()->trigger();
        auto* window = qobject_cast<CardWindow*>(program.main.cardWindow());
        LoopTable* table = window->table();
        QTRY_COMPARE(QApplication::focusWidget(), table);
        QStringList menus;
        for (QAction* menu : program.main.menuBar()->actions()) menus << menu->text();
        QCOMPARE(menus, (QStringList{"&File", "&Card", "&Window", "&Help"}));
        QList<int> order;
        for (int row = 0; row < table->rowCount(); ++row) order << table->numberOfRow(row);
        QCOMPARE(order, (QList<int>{1, 2, 3, 4}));
        QCOMPARE(table->horizontalScrollBar()->maximum(), 0);
        auto* totals = window->findChild<QLabel*>("totalsLabel");
        QVERIFY(totals->width() >= totals->sizeHint().width());

        QTest::keyClick(table, Qt::Key_Down);
        QCOMPARE(table->numberOfRow(table->currentRow()), 2);
        QTest::keyClick(table, Qt::Key_Up);
        QCOMPARE(table->numberOfRow(table->currentRow()), 1);
        program.ui.giveNextNumber(number);
        if (keys == QKeySequence("Ctrl+T")) program.ui.answerNextQuestion(MessageAnswer::Yes);
        QTest::keySequence(table, keys);
        if (mnemonic) QTest::keyClick(QApplication::activePopupWidget(), Qt::Key(mnemonic));
        QTRY_COMPARE(column(*window, CardWindow::LoopColumn), loops);
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(table->numberOfRow(table->selectionModel()->selectedRows()[0].row()), number);
        QVERIFY(treeOf(card + "/LOOP" + std::to_string(number)) == first);

        auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
        frame->resize(frame->size() - QSize(40, 30));
        const QSize closing = window->size();
        frame->close();
        QTRY_VERIFY(!program.main.cardWindow());
        program.main.repeaterToWaveWindow()->cardAction()->trigger();
        QCOMPARE(program.main.cardWindow()->size(), closing);
    }

    // Names come from the library (known at once, or read in the background); F2 or a double
    // click edits one: Enter keeps it (empty clears it), Esc drops it, a refused name tells why
    // and keeps the old one. The filter (Ctrl+F) shows the loops whose name, tempo or notes hold
    // its text, and no free numbers, looking again as names are read or edited. Sorted by name,
    // unnamed loops come first.
    void namesAndFiltersLoops_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("told");
        QTest::newRow("F2, Enter") << "F2" << "Bridge 2" << "Bridge 2" << "";
        QTest::newRow("double click, Enter") << "click" << "Chorus" << "Chorus" << "";
        QTest::newRow("emptied") << "F2" << "" << "" << "";
        QTest::newRow("Esc") << "Esc" << "Bridge 2" << "Intro groove" << "";
        QTest::newRow("201 characters") << "F2" << QString(201, 'x') << "Intro groove"
                                        << QString::fromStdString(message::nameTooLong(201, 200));
    }
    void namesAndFiltersLoops() {
        QFETCH(QString, way);
        QFETCH(QString, typed);
        ScriptedFiles files;
        const std::string card = makeFolder(m_dir.path().toStdString(), "named-" + std::string(QTest::currentDataTag()));
        for (const auto& [number, tempo] : std::map<int, double>{{1, 120}, {2, 95}, {4, 140}})
            makeCardLoop(card, number, {1}, 10 + number, 4, tempo);
        library::CardNames names(library::userLibrary(files), card);
        names.nameWritten(card + "/LOOP1", m_waves + "/Intro groove.wav");
        library::userLibrary(files).setNotes(*library::loopContentHash(card + "/LOOP2").hex, "slow verse");
        LoneCardWindow lone({card, card, 45, true}, files);
        CardWindow& window = lone.window;
        auto* progress = child<QLabel>(&window, "namesProgressLabel");
        QCOMPARE(progress->text(), QString("Reading loops for their names: 0 of 2"));  // LOOP2 and LOOP4
        window.filterBox()->setText("o");  // typed before LOOP2's notes are read
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        LoopTable* table = window.table();
        const auto shownLoops = [table] {
            QList<int> numbers;
            for (int row = 0; row < table->rowCount(); ++row)
                if (!table->isRowHidden(row)) numbers << table->numberOfRow(row);
            std::sort(numbers.begin(), numbers.end());
            return numbers;
        };
        QCOMPARE(column(window, CardWindow::NameColumn), (QStringList{"Intro groove", "", ""}));
        QTRY_VERIFY(progress->text().isEmpty());
        QCOMPARE(shownLoops(), (QList<int>{1, 2}));  // "Intro groove", "slow verse"

        const QRect cell = table->visualRect(table->model()->index(rowOf(table, 1), CardWindow::NameColumn));
        table->setCurrentCell(rowOf(table, 1), CardWindow::NameColumn);
        if (way == "click") QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        if (way == "click") QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
        else QTest::keyClick(table, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, way == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
        QFETCH(QString, kept);
        QFETCH(QString, told);
        QTRY_VERIFY(!table->isPersistentEditorOpen(table->currentIndex()) && QApplication::focusWidget() == table);
        QCOMPARE(column(window, CardWindow::NameColumn).value(0), kept);
        QCOMPARE(QString::fromStdString(names.of(card + "/LOOP1").name()), kept);
        QCOMPARE(lone.ui.messageTexts(),
                 told.isEmpty() ? std::vector<std::string>{} : std::vector{told.toStdString()});
        QCOMPARE(shownLoops(), (kept.contains('o') ? QList<int>{1, 2} : QList<int>{2}));

        const std::vector<std::pair<QString, QList<int>>> filters{
            {"", {1, 2, 3, 4, 5}}, {kept.toUpper(), {1}}, {"VERSE", {2}}, {"140", {4}}, {"none", {}}};
        for (const auto& [text, shown] : filters) {
            if (text.isEmpty() && !shown.contains(2)) continue;  // a name cleared
            QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
            QTest::keyClick(window.filterBox(), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(QApplication::focusWidget(), text);
            if (text.isEmpty()) window.filterBox()->clear();
            QVERIFY2(shownLoops() == shown, qPrintable(text));
        }
        table->sortByColumn(CardWindow::NameColumn, Qt::AscendingOrder);
        QCOMPARE(column(window, CardWindow::LoopColumn),
                 (kept.isEmpty() ? QStringList{"1", "2", "4"} : QStringList{"2", "4", "1"}));
    }

    // A damaged library is told once on the status line; the loops are listed without names.
    void listsLoopsWithADamagedLibrary() {
        ScriptedFiles files;
        const std::string card = makeFolder(m_dir.path().toStdString(), "damaged-library");
        makeCardLoop(card, 1, {1}, 10);
        const std::string damaged = "not a library, only words";
        writeFile(makeFolder(files.userDataFolder(), "Brenvik") + "/library.sqlite", {damaged.begin(), damaged.end()});
        LoneCardWindow lone({card, card, 45, true}, files);
        CardWindow& window = lone.window;
        QSignalSpy notes(&window, &CardWindow::statusMessage);
        window.refresh();
        QCOMPARE(column(window, CardWindow::LoopColumn), QStringList{"1"});
        QTRY_COMPARE(notes.size(), 1);
        QVERIFY(notes[0][0].toString().contains("cannot be used"));
        QVERIFY(!(window.table()->item(0, CardWindow::NameColumn)->flags() & Qt::ItemIsEditable));
    }

    // Waves dropped on the window are examined (converted when the Repeater cannot play them) and
    // listed in the drop dialog with the lowest free loop numbers, the tempo found and the tempo to
    // write; a file that cannot become a loop is listed with why. OK writes each at the tempo the
    // dialog showed, beats changed there by keyboard too, and the table lists them; Cancel writes
    // nothing. The summary's icon is the worst outcome: some files not written is a warning.
    void dropsWavesThroughTheDialog_data() {
        QTest::addColumn<QString>("answer");  // "ok", "keys" (6 beats typed, then Enter) or "cancel"
        QTest::newRow("OK") << "ok";
        QTest::newRow("beats typed, Enter") << "keys";
        QTest::newRow("Cancel") << "cancel";
    }
    void dropsWavesThroughTheDialog() {
        QFETCH(QString, answer);
        const std::string card = makeFolder(m_dir.path().toStdString(), "drop-" + answer.toStdString());
        for (const int n : {1, 3}) makeCardLoop(card, n, {1}, 10);
        const std::string waves = makeFolder(m_dir.path().toStdString(), "grooves");
        // 2 s mono, 4 s stereo, and 8 s at 48 kHz, which is converted; all at 120 BPM.
        writeFile(waves + "/two.wav", test::wave(1, groove(120, 1, 1)));
        writeFile(waves + "/four.wav", test::wave(2, groove(120, 2, 2)));
        writeFile(waves + "/eight.wav", test::wave(1, groove(120, 4, 1, 48000), 48000));
        writeFile(waves + "/notes.txt", {'h', 'i'});
        const Tree before = treeOf(card);
        LoneCardWindow lone({card, waves, 45, true});
        auto& [ui, files, preferences, window] = lone;
        window.setTempoFinder(tempo::estimateWaveTempo);
        window.show();

        QStringList loops, found, beats, bars, shown, refused;
        answerDropDialog([&](DropDialog* dialog) {
            QCOMPARE(dialog->focusWidget(), dialog->beatsBox(0));
            if (answer == "keys") {
                const QString offered = dialog->tempoWritten(0)->text();
                QTest::keyClick(dialog->beatsBox(0), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(dialog->beatsBox(0), "6");
                QVERIFY(dialog->tempoWritten(0)->text() != offered);  // follows the beats at once
            }
            for (int row = 0; row < 3; ++row) {
                loops << child<QLabel>(dialog, ("loop" + std::to_string(row)).c_str())->text();
                found << dialog->tempoFound(row)->text();
                beats << dialog->beatsBox(row)->text();
                bars << dialog->barBox(row)->currentText();
                shown << dialog->tempoWritten(row)->text();
            }
            refused << child<QLabel>(dialog, "refused3")->text();
            if (answer == "ok") child<QPushButton>(dialog, "okButton")->click();
            else QTest::keyClick(dialog->beatsBox(0), answer == "keys" ? Qt::Key_Return : Qt::Key_Escape);
        });
        QVERIFY(dropPaths(window.table()->viewport(),
                          {QString::fromStdString(waves + "/two.wav"), QString::fromStdString(waves + "/four.wav"),
                           QString::fromStdString(waves + "/eight.wav"), QString::fromStdString(waves + "/notes.txt")}));
        QTRY_COMPARE(refused.size(), 1);
        QCOMPARE(loops, (QStringList{"LOOP2", "LOOP4", "LOOP5"}));
        QCOMPARE(found, (QStringList{"about 120 BPM", "about 120 BPM", "about 120 BPM"}));
        QCOMPARE(beats, (QStringList{answer == "keys" ? "6" : "4", "8", "16"}));
        QCOMPARE(bars, (QStringList{answer == "keys" ? "1" : "4", "4", "4"}));
        QVERIFY(refused[0].startsWith(QString::fromStdString(message::kWaveOpenFailed)));
        if (answer == "cancel") {
            QTest::qWait(0);
            QVERIFY(ui.messages().empty());
            QVERIFY(treeOf(card) == before);
            return;
        }
        QTRY_COMPARE(ui.messageTexts(), std::vector<std::string>{message::dropSummary(3, 4)});
        QCOMPARE(ui.messages()[0].icon, MessageIcon::Warning);
        QCOMPARE(column(window, CardWindow::LoopColumn), (QStringList{"1", "2", "3", "4", "5"}));
        // What the Repeater reads: the tempo and beats each loop's description holds.
        for (int row = 0; row < 3; ++row) {
            const loop::DecodedDescription decoded = readDescription(card + "/" + loops[row].toStdString());
            QCOMPARE(QString::fromStdString(message::tempoText(loop::tempoOfCode(decoded.tempoCode)) + " BPM"),
                     shown[row]);
            QCOMPARE(QString::number(decoded.beatCount), beats[row]);
        }
        // Each is named after the file dropped, never its converted copy, with the tempo found.
        library::CardNames names(library::userLibrary(files), card);
        const std::array<std::string, 3> dropped{"two", "four", "eight"};
        for (int row = 0; row < 3; ++row) {
            const auto record = names.of(card + "/" + loops[row].toStdString()).record;
            QVERIFY(record && record->tempoFound);
            QCOMPARE(std::tuple(record->name, record->sourcePath),
                     std::tuple(dropped[row], waves + "/" + dropped[row] + ".wav"));
            QVERIFY(std::abs(*record->tempoFound - 120) < 1);
        }
    }
};

QTEST_MAIN(TestCardWindow)
#include "tst_cardwindow.moc"
