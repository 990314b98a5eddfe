// A card left with a change half-done (a program killed, a card pulled): the next command that
// opens it finishes the change or takes it back from the staging folder alone, says so in one
// line, and where it cannot, check fails and every writer refuses until it can. The records are
// written here as this version leaves them on a card, so a later version must still read them.
// Also the loops that used to be lost or hidden: a restore refused whole, folders in another case.
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "CliRun.h"
#include "LoopFixture.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

class TestRecovery : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    Tree m_one, m_two;  // the loops made as LOOP1 and LOOP2

    std::string path(const std::string& name) const { return m_dir->path().toStdString() + "/" + name; }
    std::string card() const { return path("card"); }
    std::string staging(const std::string& name = {}) const { return card() + "/.brenvik-staging/" + name; }
    void record(const std::string& name, const std::string& steps) {
        const std::string text = "brenvik card change 1\nwhat\tswap LOOP1 and LOOP2\n" + steps + "end\n";
        writeFile(staging(name), std::vector<uint8_t>(text.begin(), text.end()));
    }
    // Loop folder names on the card, and whether anything else is there.
    std::map<std::string, Tree> cardNow() const {
        std::map<std::string, Tree> loops;
        for (const auto& entry : fs::directory_iterator(card()))
            loops[entry.path().filename().string()] = treeOf(entry.path().string());
        return loops;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));
        makeCardLoop(card(), 1, {1}, 6);
        makeCardLoop(card(), 2, {1, 2}, 9);
        m_one = treeOf(card() + "/LOOP1");
        m_two = treeOf(card() + "/LOOP2");
    }

    void interruptedSwap_data() {
        QTest::addColumn<QString>("stage");     // how far the swap came
        QTest::addColumn<QStringList>("args");  // CARD stands for the card
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");      // on the error stream (or the output, for recover)
        QTest::addColumn<bool>("swapped");      // the card after: swapped, or as before
        const QString took = "Took back an interrupted change on CARD: swap LOOP1 and LOOP2";
        const QString finished = "Finished an interrupted change on CARD: swap LOOP1 and LOOP2";
        QTest::newRow("intent, a copy half-written: list") << "intent" << QStringList{"list", "CARD"} << 0 << took << false;
        QTest::newRow("committed, nothing moved: check") << "committed" << QStringList{"check", "CARD"} << 0 << finished << true;
        QTest::newRow("half placed: check of one loop") << "placing" << QStringList{"check", "CARD/LOOP2"} << 0 << finished << true;
        QTest::newRow("half placed: a save elsewhere") << "placing" << QStringList{"to-loop", "IN", "--dest", "CARD", "--loop", "3"}
                                                   << 0 << finished << true;
        QTest::newRow("half left: recover") << "leaving" << QStringList{"recover", "CARD"} << 0 << finished << true;
        QTest::newRow("dry run changes nothing") << "committed" << QStringList{"recover", "CARD", "--dry-run"} << 0
                                                 << "Would finish an interrupted change on CARD: swap LOOP1 and LOOP2" << false;
        const QString left = "CARD holds an interrupted change that could not be finished: swap LOOP1 and LOOP2";
        QTest::newRow("number taken meanwhile: check fails") << "taken" << QStringList{"check", "CARD"} << 1 << left << false;
        QTest::newRow("number taken meanwhile: a save refuses") << "taken"
            << QStringList{"to-loop", "IN", "--dest", "CARD", "--loop", "3"} << 1 << left << false;
        QTest::newRow("number taken meanwhile: swap refuses") << "taken" << QStringList{"swap", "CARD", "1", "2"} << 1 << left << false;
    }

    void interruptedSwap() {
        QFETCH(QString, stage);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(bool, swapped);
        fs::create_directories(staging());
        record("intent", {});
        const std::string plan = "out\tLOOP1\tout-1\nout\tLOOP2\tout-2\nin\tout-1\tLOOP2\nin\tout-2\tLOOP1\n";
        if (stage == "intent") {
            fs::create_directories(staging("new-1"));
            writeFile(staging("new-1/track1.wav"), patternBytes(5000));
        } else if (stage == "committed" || stage == "leaving") {
            record("committed", plan);
            if (stage == "leaving") fs::rename(card() + "/LOOP1", staging("out-1"));
        } else {
            // LOOP1 has gone to LOOP2 already; LOOP2 waits in the staging folder.
            fs::rename(card() + "/LOOP2", staging("out-2"));
            fs::rename(card() + "/LOOP1", card() + "/LOOP2");
            record("placing", plan);
            // Or LOOP1's number was taken by another folder before the card came back.
            if (stage == "taken") fs::create_directories(card() + "/LOOP1");
        }
        const std::map<std::string, Tree> before = cardNow();
        writeFile(path("in.wav"), wave(1, patternBytes(4000)));
        std::vector<std::string> words;
        for (const QString& arg : args)
            words.push_back(arg == "IN" ? path("in.wav") : QString(arg).replace("CARD", QString::fromStdString(card())).toStdString());
        const CliRun run = runCli(words);
        QCOMPARE(run.status, status);
        const std::string line = said.replace("CARD", QString::fromStdString(card())).toStdString() + "\n";
        QVERIFY2((words[0] == "recover" && status == 0 ? run.out : run.err).find(line) == 0, run.err.c_str());
        if (status != 0 || args.contains("--dry-run")) {
            QVERIFY(cardNow() == before);  // nothing touched, the records kept for a later try
            return;
        }
        std::map<std::string, Tree> expected{{"LOOP1", swapped ? m_two : m_one}, {"LOOP2", swapped ? m_one : m_two}};
        if (words[0] == "to-loop") expected["LOOP3"] = treeOf(card() + "/LOOP3");
        QVERIFY(cardNow() == expected);
    }

    // What an earlier version left when it was killed while arranging: a loop that had left its
    // number goes back to it, a half-made copy goes.
    void earlierVersionsLeftovers() {
        fs::create_directories(card() + "/.brenvik-arranging/new-LOOP9");
        fs::rename(card() + "/LOOP2", card() + "/.brenvik-arranging/LOOP2");
        const CliRun run = runCli({"list", card()});
        QCOMPARE(run.status, 0);
        QVERIFY(cardNow() == (std::map<std::string, Tree>{{"LOOP1", m_one}, {"LOOP2", m_two}}));
    }

    // A restore over loops one of which cannot be backed up (it holds a folder) writes nothing:
    // every loop it replaces is backed up before any takes its number.
    void restoreRefusedWhole() {
        const CliRun backup = runCli({"backup", card(), path("")});
        QCOMPARE(backup.status, 0);
        makeCardLoop(card(), 1, {2}, 3);
        makeCardLoop(card(), 2, {3}, 3);
        fs::create_directories(card() + "/LOOP2/sub");
        const std::map<std::string, Tree> before = cardNow();
        const CliRun run = runCli({"restore", backup.out.substr(0, backup.out.size() - 1), card(), "--overwrite"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.said("The loop could not be backed up, so it was not replaced"));
        QVERIFY(cardNow() == before);
        // Nor does the store keep the backup of LOOP1 it made first: the card still has LOOP1.
        const std::string store = path("data/Brenvik/backups");
        QVERIFY(!fs::exists(store) || fs::is_empty(store));
    }

    // Folders as a FAT card or another computer may name them: arranged like any other, and a
    // number held twice is refused by every writer, naming both.
    void foldersInAnotherCase() {
        fs::rename(card() + "/LOOP2", card() + "/loop2");
        QCOMPARE(runCli({"move", card(), "2", "20"}).status, 0);
        QVERIFY(treeOf(card() + "/LOOP20") == m_two);
        QVERIFY(!fs::exists(card() + "/loop2"));
        fs::create_directories(card() + "/Loop1");
        writeFile(path("in.wav"), wave(1, patternBytes(4000)));
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"to-loop", path("in.wav"), "--dest", card(), "--loop", "1", "--overwrite"},
              {"swap", card(), "1", "20"}, {"delete", card(), "1"}}) {
            const CliRun run = runCli(args);
            QCOMPARE(run.status, 1);
            QVERIFY2(run.said("one name on a FAT card with"), run.err.c_str());
        }
        QVERIFY(treeOf(card() + "/LOOP1") == m_one);
    }
};

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
