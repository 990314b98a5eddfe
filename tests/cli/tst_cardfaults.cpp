// The built brenvik-cli against what real cards and real systems do: a backup store over its
// limit, a write-protected card, files other computers leave in loop folders, files taking whole
// blocks, a second writer, a file-size limit, named pipes, a backup changed while it is read and
// names in upper case. Whatever happens, no loop is lost and the card is never left half-written.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "LoopFixture.h"
#include "TestChildren.h"
#include "TestFiles.h"

using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

struct Ran {
    int status = -1;
    QString out;
    QString err;
};

// The child gives up every capability: as root too, a folder without write permission then
// refuses changes, as a write-protected card does.
void withoutPrivileges() {
    for (int capability = 0; capability < 64; ++capability) ::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0);
}

// The child may write no file past 50000 bytes; the program's own handling of the signal is tested.
void limitFileSize() {
    const rlimit size{50000, 50000};
    ::setrlimit(RLIMIT_FSIZE, &size);
}

// The scripted free space and the restore that stops itself exist only in a test build.
#ifdef BRENVIK_TEST_SEAMS
#define REQUIRE_TEST_SEAMS()
#else
#define REQUIRE_TEST_SEAMS() QSKIP("needs a build configured with -DBRENVIK_TEST_SEAMS=ON")
#endif

bool stopped(qint64 pid) {
    std::string line;
    std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/stat"), line);
    return line.find(") T ") != std::string::npos;
}

}  // namespace

class TestCardFaults : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    std::string path(const std::string& name) const { return m_dir->path().toStdString() + "/" + name; }
    QString arg(const std::string& name) const { return QString::fromStdString(path(name)); }
    std::string store() const { return path("data/Brenvik/backups"); }

    void start(QProcess& program, const QStringList& args, const QStringList& env = {},
               const std::function<void()>& child = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", arg("data"));
        for (const QString& setting : env) environment.insert(setting.section('=', 0, 0), setting.section('=', 1));
        program.setProcessEnvironment(environment);
        tieToTest(program, child);  // a stopped restore would wait for ever past a killed test
        program.start(BRENVIK_CLI_PATH, args);
    }

    // Its exit status, or -1 for a signal or a hang.
    Ran run(const QStringList& args, const QStringList& env = {}, const std::function<void()>& child = {}) const {
        QProcess program;
        start(program, args, env, child);
        const bool ended = program.waitForFinished(30000) && program.exitStatus() == QProcess::NormalExit;
        return {ended ? program.exitCode() : -1, program.readAllStandardOutput(), program.readAllStandardError()};
    }

    // A restore of `backup` that stops itself once every check passed, holding the card.
    void startStoppedRestore(QProcess& program, const std::string& backup, const QStringList& more = {}) const {
        start(program, QStringList{"restore", QString::fromStdString(backup), arg("card")} + more,
              {"BRENVIK_TEST_STOP_BEFORE_WRITING=1"});
        for (int tries = 0; tries < 600 && !stopped(program.processId()); ++tries) QTest::qWait(50);
    }

    std::vector<std::string> storeFolders() const {
        std::vector<std::string> names;
        if (fs::exists(store()))
            for (const auto& entry : fs::directory_iterator(store())) names.push_back(entry.path().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Saves a wave over card/LOOPn; the backup the store made of the loop it replaced.
    std::string overwriteLoop(int number, uint16_t seed) {
        writeFile(path("in.wav"), wave(1, patternBytes(40000, seed)));
        const std::vector<std::string> before = storeFolders();
        const Ran saved = run({"to-loop", arg("in.wav"), "--dest", arg("card"), "--loop", QString::number(number),
                               "--overwrite"});
        if (saved.status != 0) return {};
        for (const std::string& folder : storeFolders())
            if (std::find(before.begin(), before.end(), folder) == before.end()) return folder;
        return {};
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        fs::create_directories(path("card"));
        fs::create_directories(path("new"));
        fs::create_directories(path("dest"));
    }

    // Over a full store, saves a write-protected card refuses neither add backups nor remove older
    // ones; restoring the oldest backup brings the loop back and keeps the backup.
    void fullStore() {
        makeCardLoop(path("card"), 1, {1}, 20);
        const Tree first = treeOf(path("card/LOOP1"));
        const std::string oldest = overwriteLoop(1, 3);
        QVERIFY(!oldest.empty());
        const std::string filler = store() + "/LOOP9-20000101T000000Z";  // another loop's, over the limit alone
        fs::create_directories(filler);
        std::ofstream(filler + "/MANIFEST.sha256").close();
        std::ofstream(filler + "/LOOP9").close();
        fs::resize_file(filler + "/LOOP9", uintmax_t{3} << 30);  // sparse
        const std::vector<std::string> kept = storeFolders();
        const Tree card = treeOf(path("card"));
        ::chmod(path("card/LOOP1").c_str(), 0555);
        for (int attempt = 0; attempt < 2; ++attempt) {
            const Ran saved = run({"to-loop", arg("in.wav"), "--dest", arg("card"), "--loop", "1", "--overwrite"}, {},
                                  withoutPrivileges);
            QCOMPARE(saved.status, 1);
            QVERIFY(saved.err.contains("Permission denied"));
        }
        ::chmod(path("card/LOOP1").c_str(), 0755);
        QVERIFY(storeFolders() == kept);
        QVERIFY(treeOf(path("card")) == card);

        const Ran restored = run({"restore", QString::fromStdString(oldest), arg("card"), "--loop", "1", "--overwrite"});
        QCOMPARE(restored.err, QString());
        QVERIFY(treeOf(path("card/LOOP1")) == first);
        QVERIFY(treeOf(oldest + "/LOOP1") == first);
        QVERIFY(run({"backups", arg("card")}).out.contains("over its limit"));
    }

    void pruningKeepsTheLastCopy_data() {
        QTest::addColumn<QStringList>("steps");  // commands on loop 3 of the card before its number is reused
        QTest::addColumn<int>("copiesKept");     // backups of that loop the store keeps
        QTest::newRow("deleted: the backup is its only copy") << QStringList{"delete 3"} << 1;
        QTest::newRow("moved: the card holds it as LOOP5") << QStringList{"move 3 5"} << 0;
        QTest::newRow("deleted twice: one backup holds it for the other")
            << QStringList{"delete 3", "restore LAST", "delete 3"} << 1;
    }

    // With the store over its limit, pruning after a save takes the older backups of loop 3 only
    // while what they hold stays on the card or in another backup, whatever the loop's number.
    void pruningKeepsTheLastCopy() {
        QFETCH(QStringList, steps);
        makeCardLoop(path("card"), 3, {1}, 20);
        const Tree loop = treeOf(path("card/LOOP3"));
        for (const QString& step : steps) {
            QStringList args = step.split(' ');
            const std::vector<std::string> folders = storeFolders();
            if (args[1] == "LAST") args[1] = QString::fromStdString(folders.back());
            args.insert(args[0] == "restore" ? 2 : 1, arg("card"));
            QCOMPARE(run(args).status, 0);
        }
        const std::string filler = store() + "/LOOP9-20000101T000000Z";  // over the limit alone
        fs::create_directories(filler);
        std::ofstream(filler + "/MANIFEST.sha256").close();
        std::ofstream(filler + "/LOOP9").close();
        fs::resize_file(filler + "/LOOP9", uintmax_t{3} << 30);  // sparse
        writeFile(path("in.wav"), wave(1, patternBytes(40000, 2)));
        QCOMPARE(run({"to-loop", arg("in.wav"), "--dest", arg("card"), "--loop", "3"}).status, 0);
        QVERIFY(!overwriteLoop(3, 4).empty());  // backs up the loop now numbered 3, then prunes
        int copies = 0;
        for (const std::string& folder : storeFolders()) copies += fs::exists(folder + "/LOOP3") && treeOf(folder + "/LOOP3") == loop;
        QTEST(copies, "copiesKept");
        QVERIFY(run({"backups", arg("card")}).out.contains("over its limit"));
    }

    // Each file takes whole blocks of the card and the folder one more: a restore or a copy that
    // fits by bytes alone is refused, writing nothing, and one that fits by blocks is made.
    void roomInWholeBlocks_data() {
        QTest::addColumn<bool>("copy");
        QTest::newRow("restore") << false;
        QTest::newRow("copy to another card") << true;
    }
    void roomInWholeBlocks() {
        REQUIRE_TEST_SEAMS();
        QFETCH(bool, copy);
        makeCardLoop(path("card"), 1, {1}, 20);
        for (int k = 0; k < 100; ++k) writeFile(path("card/LOOP1/note" + std::to_string(k)), {1});
        const Ran made = run({"backup", arg("card"), arg("dest")});
        const std::string backup = made.out.trimmed().toStdString();
        QVERIFY(!backup.empty());
        struct statvfs volume {};
        QCOMPARE(::statvfs(path("new").c_str(), &volume), 0);
        const int64_t block = int64_t(volume.f_frsize ? volume.f_frsize : volume.f_bsize);
        int64_t bytes = 0, room = block;
        for (const auto& entry : fs::directory_iterator(path("card/LOOP1"))) {
            bytes += int64_t(entry.file_size());
            room += (int64_t(entry.file_size()) + block - 1) / block * block;
        }
        if (room <= bytes + 50000) QSKIP("the temporary folder's blocks are too small to tell");
        const QStringList write = copy ? QStringList{"copy", arg("card"), "1", arg("new")}
                                       : QStringList{"restore", QString::fromStdString(backup), arg("new")};
        const Ran refused = run(write, {"BRENVIK_TEST_FREE_SPACE=" + QString::number(room - 1)});
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.err.startsWith("Not enough space available on CFC\n"));
        QCOMPARE(entriesIn(path("new")), 0);
        QCOMPARE(run(write, {"BRENVIK_TEST_FREE_SPACE=" + QString::number(room)}).status, 0);
        QVERIFY(treeOf(path("new/LOOP1")) == treeOf(path("card/LOOP1")));
    }

    // While one program writes to the card, another waits a while and then leaves it alone.
    void oneWriterPerCard() {
        REQUIRE_TEST_SEAMS();
        makeCardLoop(path("card"), 1, {1}, 20);
        const std::string backup = overwriteLoop(1, 3);
        QProcess first;
        startStoppedRestore(first, backup, {"--overwrite"});
        QVERIFY(stopped(first.processId()));
        const Ran second = run({"to-loop", arg("in.wav"), "--dest", arg("card"), "--loop", "1", "--overwrite"});
        ::kill(pid_t(first.processId()), SIGCONT);
        QVERIFY(first.waitForFinished(30000));
        QCOMPARE(second.status, 1);
        QCOMPARE(second.err, "The card " + arg("card") +
                                 " is busy with another save, restore, export or backup: nothing was changed\n");
        QCOMPARE(first.exitCode(), 0);
        QVERIFY(treeOf(path("card/LOOP1")) == treeOf(backup + "/LOOP1"));
    }

    void fileSizeLimit_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("said");
        QTest::addColumn<bool>("usesStore");  // and tidies it
        QTest::newRow("restore") << "restore" << "Could not restore {dir}/card/LOOP1: nothing was restored" << false;
        QTest::newRow("a save's backup") << "to-loop" << "The loop could not be backed up, so it was not replaced"
                                         << true;
    }

    // Cut by a file-size limit, each speaks and leaves the card's loop and the store as they were;
    // a backup folder a killed program left unfinished goes at the store's next use.
    void fileSizeLimit() {
        QFETCH(QString, command);
        QFETCH(QString, said);
        QFETCH(bool, usesStore);
        makeCardLoop(path("card"), 1, {1}, 200);
        const std::string backup = overwriteLoop(1, 3);
        const Tree card = treeOf(path("card"));
        fs::create_directories(store() + "/LOOP4-20000101T000000Z/LOOP4");
        writeFile(store() + "/LOOP4-20000101T000000Z/LOOP4/track1.wav", patternBytes(5000));
        const std::vector<std::string> kept = storeFolders();
        const QStringList args = command == "restore"
                                     ? QStringList{"restore", QString::fromStdString(backup), arg("card"), "--overwrite"}
                                     : QStringList{"to-loop", arg("in.wav"), "--dest", arg("card"), "--loop", "1",
                                                   "--overwrite"};
        const Ran cut = run(args, {}, limitFileSize);
        QCOMPARE(cut.status, 1);
        QVERIFY2(cut.err.contains(said.replace("{dir}", m_dir->path()) + "\n  "), qPrintable(cut.err));
        QVERIFY(cut.err.contains("File too large"));
        QVERIFY(treeOf(path("card")) == card);
        QCOMPARE(storeFolders().size(), kept.size() - usesStore);
        QCOMPARE(fs::exists(store() + "/LOOP4-20000101T000000Z"), !usesStore);
    }

    void pipesAndEmptyManifests_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("said");
        QTest::newRow("manifest a pipe") << "MANIFEST.sha256" << "No readable backup manifest in {backup}";
        QTest::newRow("a file a pipe") << "LOOP1/track1.wav" << "Backup file LOOP1/track1.wav does not match its manifest";
        QTest::newRow("empty manifest") << "" << "The backup manifest in {backup} lists no files";
    }

    // Never waits on a pipe; a manifest listing nothing restores nothing.
    void pipesAndEmptyManifests() {
        QFETCH(QString, what);
        QFETCH(QString, said);
        makeCardLoop(path("card"), 1, {1}, 20);
        const std::string backup = run({"backup", arg("card"), arg("dest")}).out.trimmed().toStdString();
        QVERIFY(!backup.empty());
        if (what.isEmpty()) {
            std::ofstream(backup + "/MANIFEST.sha256", std::ios::trunc).close();
        } else {
            fs::remove(backup + "/" + what.toStdString());
            QCOMPARE(::mkfifo((backup + "/" + what.toStdString()).c_str(), 0644), 0);
        }
        const Ran ran = run({"restore", QString::fromStdString(backup), arg("new")});
        QCOMPARE(ran.status, 1);
        QCOMPARE(ran.err, said.replace("{backup}", QString::fromStdString(backup)) + ": nothing was restored\n");
        QCOMPARE(entriesIn(path("new")), 0);
    }

    void backupChangedWhileRestoring_data() {
        QTest::addColumn<bool>("link");
        QTest::newRow("other bytes") << false;
        QTest::newRow("a link to another file") << true;
    }

    // A backup file swapped after the check: nothing of it reaches the card, whose loop stays whole.
    void backupChangedWhileRestoring() {
        REQUIRE_TEST_SEAMS();
        QFETCH(bool, link);
        makeCardLoop(path("card"), 1, {1}, 20);
        const std::string backup = overwriteLoop(1, 3);
        const Tree card = treeOf(path("card"));
        QProcess restore;
        startStoppedRestore(restore, backup, {"--overwrite"});
        const std::string file = backup + "/LOOP1/track1.wav";
        std::vector<uint8_t> other = readFile(file);
        other[20000] ^= 0xFF;
        writeFile(path("outside"), other);
        fs::remove(file);
        if (link)
            fs::create_symlink(path("outside"), file);
        else
            fs::copy_file(path("outside"), file);
        ::kill(pid_t(restore.processId()), SIGCONT);
        QVERIFY(restore.waitForFinished(30000));
        QCOMPARE(restore.exitCode(), 1);
        const QString said = restore.readAllStandardError();
        QVERIFY2(said.startsWith(link ? "Could not restore " + arg("card/LOOP1") + ": nothing was restored\n"
                                      : "Backup file LOOP1/track1.wav does not match its manifest: nothing was restored\n"),
                 qPrintable(said));
        QVERIFY(treeOf(path("card")) == card);
    }

    // Names as a FAT card may give them: found in any case, replaced whole, written as the Repeater
    // names them; files another computer left come back too, into any loop number.
    void namesInAnyCase() {
        const std::string folder = makeCardLoop(path("card"), 3, {1}, 20);
        fs::rename(folder + "/track1.wav", folder + "/TRACK1.WAV");
        fs::rename(folder + "/loopinfo.ldf", folder + "/LOOPINFO.LDF");
        for (const std::string name : {"._track1.wav", ".DS_Store"}) writeFile(folder + "/" + name, {1, 2});
        fs::rename(folder, path("card/loop3"));
        const Tree old = treeOf(path("card/loop3"));
        const Ran checked = run({"check", arg("card")});
        QCOMPARE(checked.err, QString());
        QCOMPARE(checked.status, 0);
        QVERIFY(checked.out.contains("LOOP3") || checked.out.contains("loop3"));
        const std::string backup = overwriteLoop(3, 5);
        QVERIFY(!backup.empty());
        QCOMPARE(entriesIn(path("card")), 1);
        QVERIFY(fs::exists(path("card/LOOP3/track1.wav")) && fs::exists(path("card/LOOP3/loopinfo.ldf")));
        QCOMPARE(entriesIn(path("card/LOOP3")), 2);
        const Ran restored = run({"restore", QString::fromStdString(backup), arg("new"), "--loop", "3", "--as", "7"});
        QCOMPARE(restored.out, arg("new/LOOP7") + "\n");
        QVERIFY(treeOf(path("new/LOOP7")) == old);
    }
};

QTEST_GUILESS_MAIN(TestCardFaults)
#include "tst_cardfaults.moc"
