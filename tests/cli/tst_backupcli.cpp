// brenvik-cli backup, restore and to-loop with several sources, in-process on real folders.
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "CliRun.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

class TestBackupCli : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    std::string path(const std::string& name) const { return m_dir->path().toStdString() + "/" + name; }

    // A card with LOOP1 (mono) and LOOP3 (stereo tracks 2 and 4); its backup's folder.
    std::string backedUpCard() {
        for (const std::string name : {"LOOP1/loopinfo.ldf", "LOOP1/track1.wav", "LOOP3/loopinfo.ldf",
                                       "LOOP3/track2.wav", "LOOP3/track4.wav"}) {
            fs::create_directories(fs::path(path("card/" + name)).parent_path());
            writeFile(path("card/" + name), patternBytes(20000 + name.size() * 3, uint16_t(name.size())));
        }
        const CliRun made = runCli({"backup", path("card"), path("dest")});
        if (made.status != 0 || made.out.empty()) return {};
        return made.out.substr(0, made.out.size() - 1);
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        fs::create_directories(path("dest"));
        fs::create_directories(path("new"));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));
    }

    // Back and forth byte for byte; loops on the card are kept unless --overwrite, which backs
    // them up into the store first.
    void roundTrip() {
        const std::string backup = backedUpCard();
        QVERIFY(QString::fromStdString(backup).startsWith(QString::fromStdString(path("dest/card-"))));
        const CliRun restored = runCli({"restore", backup, path("new")});
        QCOMPARE(restored.status, 0);
        QCOMPARE(restored.out, path("new/LOOP1") + "\n" + path("new/LOOP3") + "\n");
        QVERIFY(treeOf(path("new")) == treeOf(path("card")));

        writeFile(path("new/LOOP3/track2.wav"), {7});
        const CliRun kept = runCli({"restore", backup, path("new"), "--loop", "3"});
        QCOMPARE(kept.status, 1);
        QCOMPARE(kept.err, "Loop already exists: " + path("new/LOOP3") + " (nothing was restored)\n");
        const CliRun replaced = runCli({"restore", backup, path("new"), "--loop", "3", "--overwrite"});
        QCOMPARE(replaced.out, path("new/LOOP3") + "\n");
        QVERIFY(treeOf(path("new")) == treeOf(path("card")));
        const fs::directory_iterator stored(path("data/Brenvik/backups"));
        QCOMPARE(readFile(stored->path().string() + "/LOOP3/track2.wav"), std::vector<uint8_t>{7});
    }

    void refusals_data() {
        QTest::addColumn<QString>("change");  // what is done to the backup
        QTest::addColumn<QString>("message");
        QTest::newRow("a changed byte") << "byte" << "Backup file LOOP3/track4.wav does not match its manifest";
        QTest::newRow("a missing file") << "remove" << "Backup file LOOP1/track1.wav does not match its manifest";
        QTest::newRow("a link") << "link" << "Backup holds a symbolic link, LOOP1/track1.wav";
        QTest::newRow("..") << "../LOOP1/track1.wav" << "Backup entry ../LOOP1/track1.wav is not a loop file";
        QTest::newRow("absolute") << "/LOOP1/track1.wav" << "Backup entry /LOOP1/track1.wav is not a loop file";
        QTest::newRow("a deeper path") << "LOOP1/sub/track1.wav" << "Backup entry LOOP1/sub/track1.wav is not a loop file";
        QTest::newRow("a loop number 0") << "LOOP0/track1.wav" << "Backup entry LOOP0/track1.wav is not a loop file";
        QTest::newRow("no such loop") << "--loop 2" << "The backup holds no LOOP2";
    }

    // Each refused before anything is written, naming what is wrong.
    void refusals() {
        QFETCH(QString, change);
        QFETCH(QString, message);
        const std::string backup = backedUpCard();
        std::vector<std::string> args{"restore", backup, path("new")};
        if (change == "byte") {
            auto bytes = readFile(backup + "/LOOP3/track4.wav");
            bytes[12345] ^= 1;
            writeFile(backup + "/LOOP3/track4.wav", bytes);
        } else if (change == "remove" || change == "link") {
            fs::remove(backup + "/LOOP1/track1.wav");
            if (change == "link") fs::create_symlink(path("card/LOOP1/track1.wav"), backup + "/LOOP1/track1.wav");
        } else if (change == "--loop 2") {
            args.insert(args.end(), {"--loop", "2"});
        } else {
            std::ofstream(backup + "/MANIFEST.sha256", std::ios::app)
                << std::string(64, 'a') << "  " << change.toStdString() << "\n";
        }
        const CliRun run = runCli(args);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, std::string());
        QCOMPARE(QString::fromStdString(run.err), message + ": nothing was restored\n");
        QCOMPARE(entriesIn(path("new")), 0);
    }

    // Each source into the next free number; the first refusal ends the run, naming the source, and
    // the loops written stay.
    void manyWaves() {
        for (const std::string name : {"a", "b", "c"}) writeFile(path(name + ".wav"), wave(1, patternBytes(8192)));
        const CliRun three = runCli({"to-loop", path("a.wav"), path("b.wav"), path("c.wav"), "--dest", path("new")});
        QCOMPARE(three.status, 0);
        QCOMPARE(three.out, path("new/LOOP1") + "\n" + path("new/LOOP2") + "\n" + path("new/LOOP3") + "\n");
        for (const std::string loop : {"LOOP1", "LOOP2", "LOOP3"})
            QCOMPARE(readFile(path("new/" + loop + "/track1.wav")), expectedTrack(patternBytes(8192)));
        writeFile(path("b.wav"), wave(1, patternBytes(8192), 48000));
        const CliRun stopped =
            runCli({"to-loop", path("a.wav"), path("b.wav"), path("c.wav"), "--dest", path("new")});
        QCOMPARE(stopped.status, 1);
        QCOMPARE(stopped.out, path("new/LOOP4") + "\n");
        QCOMPARE(
            stopped.err,
            "File writing successful\nRepeater supports 44.1 kHz sample rate only, this file has a "
            "sample rate of 48kHz\n  " +
                path("b.wav") + "\n");
        QCOMPARE(entriesIn(path("new")), 4);
    }
};

QTEST_GUILESS_MAIN(TestBackupCli)
#include "tst_backupcli.moc"
