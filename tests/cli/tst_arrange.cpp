// brenvik-cli move, copy, swap, delete, renumber, undo and redo on a card of twelve generated loops:
// every loop ends byte for byte where it should, what left its place is in the backup store and
// restores, refusals and failures change nothing, and undo gives the card back, redo again.
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "CliRun.h"
#include "FolderLock.h"
#include "FullCard.h"
#include "LoopFixture.h"
#include "Messages.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

class TestArrange : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::map<int, Tree> m_loops;  // the card's loops as made

    std::string path(const std::string& name) const { return m_dir->path().toStdString() + "/" + name; }
    std::string card() const { return path("card"); }
    std::vector<std::string> backups() const {
        std::vector<std::string> found;
        if (fs::exists(path("data/Brenvik/backups")))
            for (const auto& entry : fs::directory_iterator(path("data/Brenvik/backups")))
                found.push_back(entry.path().string());
        return found;
    }
    // The card's loops by number.
    std::map<int, Tree> loopsOn(const std::string& folder) const {
        std::map<int, Tree> loops;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("LOOP"))
                loops[std::stoi(entry.path().filename().string().substr(4))] = treeOf(entry.path().string());
        return loops;
    }
    // The card as made, with `changes` ("20=2" puts loop 2 at 20, "2=" leaves 2 empty) applied.
    std::map<int, Tree> expected(const QString& changes) const {
        std::map<int, Tree> loops = m_loops;
        for (const QString& change : changes.split(',', Qt::SkipEmptyParts)) {
            const QStringList sides = change.split('=');
            if (sides[1].isEmpty()) loops.erase(sides[0].toInt());
            else loops[sides[0].toInt()] = m_loops.at(sides[1].toInt());
        }
        return loops;
    }

private slots:
    // Loops 1 to 11 and 14, each of its own length; 2 and 9 stereo.
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));
        m_loops.clear();
        for (const int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14}) {
            makeCardLoop(card(), n, n == 2 || n == 9 ? std::vector<int>{1, 2} : std::vector<int>{1}, 4 + n);
            m_loops[n] = treeOf(card() + "/LOOP" + std::to_string(n));
        }
    }

    void arrangements_data() {
        QTest::addColumn<QStringList>("args");      // after the command, CARD stands for the card
        QTest::addColumn<QString>("changes");       // where the loops are after, as expected()
        QTest::addColumn<int>("status");
        QTest::addColumn<QList<int>>("backedUp");   // the loops in the store after
        QTest::addColumn<bool>("undoable");
        QTest::newRow("renumber 12 loops in a new order")
            << QStringList{"renumber", "CARD", "--order", "3,1,2,14,6,5,4,9,7,8,11,10"}
            << "1=3,2=1,3=2,4=14,5=6,6=5,7=4,8=9,9=7,10=8,11=11,14=10" << 0
            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14} << true;
        QTest::newRow("close the gaps") << QStringList{"renumber", "CARD", "--close-gaps"} << "12=14,14=" << 0
                                        << QList<int>{14} << true;
        QTest::newRow("move to a free number") << QStringList{"move", "CARD", "2", "20"} << "20=2,2=" << 0
                                               << QList<int>{2} << true;
        QTest::newRow("move onto a loop") << QStringList{"move", "CARD", "2", "3"} << "" << 1 << QList<int>{}
                                          << false;
        QTest::newRow("move onto a loop, replacing it") << QStringList{"move", "CARD", "2", "3", "--overwrite"}
                                                        << "3=2,2=" << 0 << QList<int>{2, 3} << true;
        QTest::newRow("move from no loop") << QStringList{"move", "CARD", "12", "13"} << "" << 1 << QList<int>{}
                                           << false;
        QTest::newRow("swap") << QStringList{"swap", "CARD", "4", "9"} << "4=9,9=4" << 0 << QList<int>{4, 9}
                              << true;
        QTest::newRow("swap, dry run") << QStringList{"swap", "CARD", "4", "9", "--dry-run"} << "" << 0
                                       << QList<int>{} << false;
        QTest::newRow("copy") << QStringList{"copy", "CARD", "5", "CARD", "30"} << "30=5" << 0 << QList<int>{}
                              << false;
        QTest::newRow("delete") << QStringList{"delete", "CARD", "7", "8"} << "7=,8=" << 0 << QList<int>{7, 8}
                                << true;
        QTest::newRow("a broken loop") << QStringList{"move", "CARD", "6", "20"} << "" << 1 << QList<int>{}
                                       << false;
        QTest::newRow("a broken loop, forced") << QStringList{"move", "CARD", "6", "20", "--force"} << "20=6,6="
                                               << 0 << QList<int>{6} << true;
    }

    // Each loop where it belongs, byte for byte; each loop that left its place restores from its
    // backup as it was; undo gives the card back as it was.
    void arrangements() {
        QFETCH(QStringList, args);
        QFETCH(QString, changes);
        QFETCH(bool, undoable);
        if (QString(QTest::currentDataTag()).startsWith("a broken loop")) {
            fs::resize_file(card() + "/LOOP6/track1.wav", 16428 + 512);
            m_loops[6] = treeOf(card() + "/LOOP6");
        }
        std::vector<std::string> line;
        for (const QString& arg : args) line.push_back(arg == "CARD" ? card() : arg.toStdString());
        const CliRun run = runCli(line);
        QTEST(run.status, "status");
        QVERIFY(loopsOn(card()) == expected(changes));

        QList<int> backedUp;
        for (const std::string& backup : backups()) {
            const int number = std::stoi(fs::path(backup).filename().string().substr(4));
            backedUp << number;
            const std::string into = path("restored/" + std::to_string(number));
            fs::create_directories(into);
            QCOMPARE(runCli({"restore", backup, into}).status, 0);
            QVERIFY(loopsOn(into).at(number) == m_loops.at(number));
        }
        std::sort(backedUp.begin(), backedUp.end());
        QTEST(backedUp, "backedUp");

        const CliRun undo = runCli({"undo", card()});
        QCOMPARE(undo.status, undoable ? 0 : 1);
        QVERIFY(loopsOn(card()) == expected(undoable ? "" : changes));
        QCOMPARE(entriesIn(card()), int(loopsOn(card()).size()));  // no staging folder left
    }

    // A loop changed since the swap is not swapped back.
    void undoAfterAChange() {
        QCOMPARE(runCli({"swap", card(), "1", "2"}).status, 0);
        writeFile(card() + "/LOOP2/track1.wav", {1, 2, 3});
        const std::map<int, Tree> changed = loopsOn(card());
        const CliRun undo = runCli({"undo", card()});
        QCOMPARE(undo.status, 1);
        QCOMPARE(undo.err, card() + " was changed since its last arrangement: nothing was undone\n  " + card() +
                               "/LOOP2/track1.wav was changed\n");
        QVERIFY(loopsOn(card()) == changed);
    }

    // Undo repeated walks back through a swap, a delete and a move, redo forth again, each refused
    // with its message at the end of the history; an arrangement after an undo ends what can be
    // redone, and a loop changed since an undo is not redone.
    void undoAndRedoWalkTheHistory() {
        const std::vector<std::tuple<QString, QString, int>> walk{
            {"swap 1 2", "1=2,2=1", 0},       {"delete 1", "1=,2=1", 0},     {"move 2 20", "1=,2=,20=1", 0},
            {"undo", "1=,2=1", 0},            {"undo", "1=2,2=1", 0},        {"undo", "", 0},
            {"undo", "", 1},                  {"redo", "1=2,2=1", 0},        {"redo", "1=,2=1", 0},
            {"redo", "1=,2=,20=1", 0},        {"redo", "1=,2=,20=1", 1},     {"undo", "1=,2=1", 0},
            {"undo", "1=2,2=1", 0},           {"swap 3 4", "1=2,2=1,3=4,4=3", 0}, {"redo", "1=2,2=1,3=4,4=3", 1},
            {"undo", "1=2,2=1", 0},           {"undo", "", 0},               {"redo", "1=2,2=1", 0},
            {"undo", "", 0}};
        for (const auto& [command, changes, status] : walk) {
            std::vector<std::string> line;
            for (const QString& word : command.split(' ')) line.push_back(word.toStdString());
            line.insert(line.begin() + 1, card());
            const CliRun run = runCli(line);
            QVERIFY2(run.status == status && loopsOn(card()) == expected(changes), qPrintable(command + " " + changes));
            if (status == 1)
                QCOMPARE(run.err, (line[0] == "undo" ? message::nothingToUndo(card()) : message::nothingToRedo(card())) + "\n");
        }
        writeFile(card() + "/LOOP1/track1.wav", {1, 2, 3});
        const CliRun redo = runCli({"redo", card()});
        QCOMPARE(redo.status, 1);
        QCOMPARE(redo.err, message::cardChangedSinceUndo(card()) + "\n  " + card() + "/LOOP1/track1.wav was changed\n");
        // A history whose record cannot be read is none: nothing is undone from it.
        QCOMPARE(runCli({"swap", card(), "5", "6"}).status, 0);
        const std::map<int, Tree> swapped = loopsOn(card());
        for (const auto& kept : fs::directory_iterator(path("data/Brenvik/arrangements"))) {
            std::vector<uint8_t> bytes = readFile(kept.path().string());
            bytes[std::string(bytes.begin(), bytes.end()).find("\nwhat\t") + 3] = 'o';  // "whot"
            writeFile(kept.path().string(), bytes);
        }
        QCOMPARE(runCli({"undo", card()}).err, message::nothingToUndo(card()) + "\n");
        QVERIFY(loopsOn(card()) == swapped);
    }

    // Undo trusts a store folder only as restore does: its files match its manifest and it holds
    // the loop its name gives. Otherwise nothing is changed and the place is named.
    void undoChecksItsBackups_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("two folders' contents swapped") << "swap";
        QTest::newRow("a file changed in one") << "change";
        QTest::newRow("a folder holding a second loop") << "extra";
    }
    void undoChecksItsBackups() {
        QFETCH(QString, damage);
        QCOMPARE(runCli({"delete", card(), "1", "3"}).status, 0);
        std::map<int, std::string> stored;
        for (const std::string& backup : backups()) stored[std::stoi(fs::path(backup).filename().string().substr(4))] = backup;
        QCOMPARE(stored.size(), size_t(2));
        if (damage == "swap") {
            fs::rename(stored[1], path("aside"));
            fs::rename(stored[3], stored[1]);
            fs::rename(path("aside"), stored[3]);
        } else if (damage == "change") {
            writeFile(stored[3] + "/LOOP3/track1.wav", {1, 2, 3});
        } else {
            fs::copy(stored[3] + "/LOOP3", stored[1] + "/LOOP3");
            std::ofstream(stored[1] + "/MANIFEST.sha256", std::ios::app)
                << std::ifstream(stored[3] + "/MANIFEST.sha256").rdbuf();
        }
        const std::map<int, Tree> before = loopsOn(card());
        const CliRun undo = runCli({"undo", card()});
        QCOMPARE(undo.status, 1);
        QVERIFY2(undo.said(message::undoLacksBackup(card() + (damage == "change" ? "/LOOP3" : "/LOOP1"))), undo.err.c_str());
        QVERIFY(loopsOn(card()) == before);
        QCOMPARE(entriesIn(card()), int(before.size()));
    }

    // A card another save holds is left alone, and the arrangement says so.
    void busyCard() {
        const std::optional<FolderLock> held = FolderLock::take(card(), FolderLock::Mode::Exclusive, {});
        QVERIFY(held);
        const CliRun busy = runCli({"swap", card(), "1", "2"});
        QCOMPARE(busy.status, 1);
        QVERIFY2(busy.said(message::cardBusy(card()) + "\n"), busy.err.c_str());
        QVERIFY(loopsOn(card()) == m_loops);
    }

    // Between cards: a move and its undo; a copy without the room, or failing half-way, changes
    // neither card.
    void anotherCard() {
        const std::string other = path("other");
        makeCardLoop(other, 3, {1}, 20);
        const std::map<int, Tree> otherBefore = loopsOn(other);
        QCOMPARE(runCli({"move", card(), "5", "7", "--to", other}).status, 0);
        QVERIFY(loopsOn(other).at(7) == m_loops.at(5) && !loopsOn(card()).count(5));
        QCOMPARE(runCli({"undo", other}).status, 0);
        QVERIFY(loopsOn(card()) == m_loops && loopsOn(other) == otherBefore);

        // A file as large as the free space, sparse, so that it takes none of it.
        const std::string sparse = makeFolder(card(), "LOOP15") + "/._track1.wav";
        writeFile(sparse, {});
        fs::resize_file(sparse, fs::space(other).available + 1);
        fs::copy(card() + "/LOOP1", card() + "/LOOP15");
        const CliRun tooBig = runCli({"copy", card(), "15", other});
        QCOMPARE(tooBig.status, 1);
        QVERIFY(tooBig.said("Not enough space available on CFC\n"));

        // 2 MiB of audio, where writes fail after 1.5 MiB (the copy is made out of the Repeater's
        // sight): the loop replaced comes back.
        makeCardLoop(card(), 16, {1}, 4096);
        const CliRun failed = [&] {
            const FullCard full;
            return runCli({"copy", card(), "16", other, "3", "--overwrite"});
        }();
        QCOMPARE(failed.status, 1);
        QVERIFY(failed.said("Could not arrange the loops of " + card() + ": nothing was changed\n  cannot write " +
                            other + "/.brenvik-staging/new-1/track1.wav: File too large"));
        QVERIFY(loopsOn(other) == otherBefore);
        QCOMPARE(entriesIn(other), 1);
    }
};

QTEST_GUILESS_MAIN(TestArrange)
#include "tst_arrange.moc"
