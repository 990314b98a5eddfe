// brenvik-cli backup, restore and to-loop with several sources, in-process on real folders; what a
// card backup cannot take, named beside what check says of the same card.
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CliRun.h"
#include "LoopFixture.h"
#include "TestFiles.h"
#include "Unprivileged.h"

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

    // A folder a test made unreadable is given back, so that the temporary folder goes.
    void cleanup() {
        std::error_code ec;
        fs::permissions(path("card/LOOP2"), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::permissions(path("card/LOOP2/track1.wav"), fs::perms::owner_all, fs::perm_options::add, ec);
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
        // Beside the loops restored, kept there so that undo can tell them, is the loop replaced.
        int replacedKept = 0;
        std::error_code ec;
        for (const auto& stored : fs::directory_iterator(path("data/Brenvik/backups")))
            replacedKept += fs::file_size(stored.path() / "LOOP3/track2.wav", ec) == 1;
        QCOMPARE(replacedKept, 1);
    }

    void refusals_data() {
        QTest::addColumn<QString>("change");  // what is done to the backup
        QTest::addColumn<QString>("message");
        QTest::newRow("a changed byte") << "byte" << "Backup file LOOP3/track4.wav does not match its manifest";
        QTest::newRow("a missing file") << "remove" << "Backup file LOOP1/track1.wav does not match its manifest";
        QTest::newRow("a link") << "link" << "Backup holds a symbolic link, LOOP1/track1.wav";
        QTest::newRow("..") << "../LOOP1/track1.wav" << "Backup entry ../LOOP1/track1.wav is not a loop file";
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

    // A restore from the command line is taken back by undo as the window's is, and made again by
    // redo: a loop it replaced comes back from the store, one it put on a free number goes.
    void restoreUndone_data() {
        QTest::addColumn<QString>("from");  // a whole-card backup, or the store's backup of a loop
        QTest::addColumn<QStringList>("options");
        QTest::newRow("card backup over a changed loop") << "card" << QStringList{"--overwrite"};
        QTest::newRow("one loop into a free number") << "card" << QStringList{"--loop", "3", "--as", "7"};
        QTest::newRow("store backup over a loop") << "store" << QStringList{"--overwrite"};
    }
    void restoreUndone() {
        QFETCH(QString, from);
        QFETCH(QStringList, options);
        std::string backup = backedUpCard();
        const std::vector<uint8_t> changed = patternBytes(5000, 9);
        writeFile(path("card/LOOP1/track1.wav"), changed);
        if (from == "store") {
            std::error_code ec;
            // Restoring the card's backup puts the changed loop into the store.
            QCOMPARE(runCli({"restore", backup, path("card"), "--overwrite"}).status, 0);
            for (const auto& stored : fs::directory_iterator(path("data/Brenvik/backups")))
                if (fs::file_size(stored.path() / "LOOP1/track1.wav", ec) == changed.size())
                    backup = stored.path().string();
        }
        const Tree before = treeOf(path("card"));
        std::vector<std::string> args{"restore", backup, path("card")};
        for (const QString& option : options) args.push_back(option.toStdString());
        const CliRun restored = runCli(args);
        QCOMPARE(restored.status, 0);
        QCOMPARE(restored.err, std::string());
        const Tree after = treeOf(path("card"));
        QVERIFY(after != before);
        QCOMPARE(runCli({"undo", path("card")}).status, 0);
        QVERIFY(treeOf(path("card")) == before);
        QCOMPARE(runCli({"redo", path("card")}).status, 0);
        QVERIFY(treeOf(path("card")) == after);
    }

    void leftOut_data() {
        QTest::addColumn<QString>("change");        // what is done to LOOP2 of a card of four loops
        QTest::addColumn<QStringList>("backupSays");  // below the card's path, each line of it
        QTest::addColumn<QStringList>("taken");       // the loops the backup holds
        QTest::addColumn<QStringList>("checkSays");   // how check's lines on LOOP2 start, below the card's path
        const QString link = "a link, not a file: the Repeater reads only files";
        const QStringList others{"LOOP1", "LOOP3", "LOOP4"}, all{"LOOP1", "LOOP2", "LOOP3", "LOOP4"};
        const QString denied = "{card}/LOOP2: Permission denied)";
        QTest::newRow("unreadable folder") << "chmod" << QStringList{"LOOP2: cannot read the folder"} << others
                                           << QStringList{"LOOP2: folder: contents: cannot be read (cannot read the folder " + denied};
        QTest::newRow("unreadable track")
            << "chmod track" << QStringList{"LOOP2/track1.wav: cannot open {card}/LOOP2/track1.wav: Permission denied"}
            << others << QStringList{"LOOP2: track1.wav: file: cannot be read (cannot open {card}/LOOP2/track1.wav: Permission denied)"};
        QTest::newRow("folder a link leading nowhere")
            << "dangling" << QStringList{"LOOP2: " + link} << others
            << QStringList{"LOOP2: folder: kind: " + link, "LOOP2: folder: contents: cannot be read"};
        QTest::newRow("folder a link to a loop") << "linked folder" << QStringList{"LOOP2: " + link} << others
                                                 << QStringList{"LOOP2: folder: kind: " + link};
        QTest::newRow("track a link") << "linked track" << QStringList{"LOOP2/track1.wav: " + link} << others
                                      << QStringList{"LOOP2: track1.wav: kind: " + link};
        QTest::newRow("track a pipe") << "pipe" << QStringList{"LOOP2/track1.wav: not a file: the Repeater reads only files"}
                                      << others << QStringList{"LOOP2: track1.wav: file: missing"};
        const QString twin = ": folder: name: one name on a FAT card with %1: the Repeater finds only one of them; "
                             "give one of them a free loop number";
        QTest::newRow("two names of one loop")
            << "twin" << QStringList{"LOOP2: one name on a FAT card with loop2", "loop2: one name on a FAT card with LOOP2"}
            << others << QStringList{"LOOP2" + twin.arg("loop2"), "loop2" + twin.arg("LOOP2")};
        QTest::newRow("a subfolder beside the tracks")
            << "subfolder" << QStringList{"LOOP2/sub: a folder inside a loop: a backup holds only the loop's files"}
            << all << QStringList{"LOOP2: ok"};
        QTest::newRow("a link beside the tracks") << "linked note" << QStringList{"LOOP2/._track1.wav: " + link} << all
                                                  << QStringList{"LOOP2: ok"};
    }

    // A backup takes every loop it can and names each loop or file it leaves out, and why, with
    // exit status 1; a loop goes whole or not at all. check reports what makes a loop unplayable.
    void leftOut() {
        QFETCH(QString, change);
        QFETCH(QStringList, backupSays);
        QFETCH(QStringList, taken);
        QFETCH(QStringList, checkSays);
        const std::string card = path("card"), loop2 = card + "/LOOP2";
        for (int n = 1; n <= 4; ++n) makeCardLoop(card, n, {1}, 10);
        std::optional<Unprivileged> user;  // one whom the modes stop, even when the test runs as root
        if (change.startsWith("chmod")) {
            fs::permissions(m_dir->path().toStdString(), fs::perms::owner_all | fs::perms::others_exec);
            fs::permissions(path("dest"), fs::perms::all);
            fs::permissions(change == "chmod" ? loop2 : loop2 + "/track1.wav", fs::perms::none);
            user.emplace();
        } else if (change == "dangling" || change == "linked folder") {
            fs::rename(loop2, path("elsewhere"));
            fs::create_directory_symlink(change == "dangling" ? path("nowhere") : path("elsewhere"), loop2);
        } else if (change == "linked track" || change == "pipe") {
            fs::rename(loop2 + "/track1.wav", path("track1.wav"));
            if (change == "pipe") QCOMPARE(::mkfifo((loop2 + "/track1.wav").c_str(), 0600), 0);
            else fs::create_symlink(path("track1.wav"), loop2 + "/track1.wav");
        } else if (change == "twin") {
            fs::copy(loop2, card + "/loop2");
        } else if (change == "subfolder") {
            fs::create_directories(loop2 + "/sub");
        } else {
            fs::create_symlink(path("track1.wav"), loop2 + "/._track1.wav");
        }
        const CliRun made = runCli({"backup", card, path("dest")});
        QCOMPARE(made.status, 1);
        for (QString line : backupSays)
            QVERIFY2(made.said("\n  " + card + "/" + line.replace("{card}", card.c_str()).toStdString()), made.err.c_str());
        QCOMPARE(QString::fromStdString(made.err).count("\n  "), backupSays.size());
        const std::string backup = made.out.substr(0, made.out.find('\n'));
        QStringList held;
        for (const auto& [name, bytes] : treeOf(backup))
            if (name.find('/') == std::string::npos && bytes == std::vector<uint8_t>{'/'}) held << QString::fromStdString(name);
        QCOMPARE(held, taken);
        for (const QString& loop : taken)
            QCOMPARE(readFile(backup + "/" + loop.toStdString() + "/track1.wav"),
                     readFile(card + "/" + loop.toStdString() + "/track1.wav"));

        const CliRun checked = runCli({"check", card});
        QCOMPARE(checked.status, checkSays == QStringList{"LOOP2: ok"} ? 0 : 1);
        QStringList said;
        for (const QString& line : QString::fromStdString(checked.out).split('\n', Qt::SkipEmptyParts))
            if (!line.endsWith(": ok") || line.contains("LOOP2") || line.contains("loop2")) said << line;
        QCOMPARE(said.size(), checkSays.size());
        for (qsizetype i = 0; i < said.size(); ++i)
            QVERIFY2(said[i].startsWith(QString::fromStdString(card + "/") + QString(checkSays[i]).replace("{card}", card.c_str())),
                     qPrintable(said[i]));
        // Checked alone, a loop that is there is judged as in the card's check.
        if (change != "twin" && change != "dangling")
            QCOMPARE(QString::fromStdString(runCli({"check", loop2}).out).split('\n', Qt::SkipEmptyParts),
                     said.filter(QString::fromStdString(loop2 + ":")));
    }

    // The lowest free number is free in any letter case: Loop1 holds loop 1 as LOOP1 does.
    void freeNumberInAnyCase_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("written");
        QTest::newRow("loop1, LOOP2 and lOOP4") << QStringList{"loop1", "LOOP2", "lOOP4"} << "LOOP3";
    }
    void freeNumberInAnyCase() {
        QFETCH(QStringList, folders);
        QFETCH(QString, written);
        for (const QString& folder : folders) fs::create_directories(path("new/" + folder.toStdString()));
        writeFile(path("a.wav"), wave(1, patternBytes(8192)));
        const CliRun run = runCli({"to-loop", path("a.wav"), "--dest", path("new")});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, path("new/" + written.toStdString()) + "\n");
        QCOMPARE(entriesIn(path("new")), folders.size() + 1);
    }
};

QTEST_GUILESS_MAIN(TestBackupCli)
#include "tst_backupcli.moc"
