// The names of a card's loops travel with it: brenvik-cli names --write-card on one computer
// (one loop library), --read-card on another (a fresh one), through the built program. A damaged,
// foreign or oversized file is refused or skipped line by line, and nothing named is lost; the file
// lies at the card's root only, and a write cut short leaves the old file or the new one.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "CardNamesFile.h"
#include "LoopContentHash.h"
#include "LoopFixture.h"
#include "LoopLibrary.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

class TestNamesFile : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::string m_hashes[3];  // LOOP1 to LOOP3's content

    std::string path(const std::string& name) const { return m_dir->path().toStdString() + "/" + name; }
    std::string card() const { return path("card"); }
    std::string namesFile() const { return card() + "/BRENVIK.TXT"; }
    std::string text(const std::string& file) const { const auto bytes = readFile(file); return {bytes.begin(), bytes.end()}; }
    void put(const std::string& file, const std::string& text) const { writeFile(file, {text.begin(), text.end()}); }
    // The built program with `computer`'s data folder: status and both streams.
    struct Ran { int status; QString out, err; };
    Ran cli(const QString& computer, const QString& mode, const QString& command = "names") const {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", QString::fromStdString(path(computer.toStdString())));
        program.setProcessEnvironment(environment);
        QStringList args{command, QString::fromStdString(card())};
        if (!mode.isEmpty()) args << mode;
        program.start(BRENVIK_CLI_PATH, args);
        const bool ended = program.waitForFinished(30000) && program.exitStatus() == QProcess::NormalExit;
        return {ended ? program.exitCode() : -1, program.readAllStandardOutput(), program.readAllStandardError()};
    }
    library::LoopLibrary libraryOf(const std::string& computer) const {
        return library::LoopLibrary(library::LoopLibrary::folderIn(path(computer)));
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        for (int n = 1; n <= 3; ++n) {
            makeCardLoop(card(), n, {1}, 4 + n);
            m_hashes[n - 1] = *library::loopContentHash(card() + "/LOOP" + std::to_string(n)).hex;
        }
        // A copy of LOOP1: one content, written once.
        fs::copy(card() + "/LOOP1", card() + "/LOOP4");
        library::LoopLibrary here(library::LoopLibrary::folderIn(path("here")));
        QVERIFY(here.rename(m_hashes[0], "Intro groove") && here.setNotes(m_hashes[0], "capo 2\n\tfade \\ out"));
        QVERIFY(here.rename(m_hashes[1], "Verse"));
        library::LoopLibrary there(library::LoopLibrary::folderIn(path("there")));
        QVERIFY(there.rename(m_hashes[1], "Chorus"));  // named on the other computer already
    }

    // A file of an earlier write is replaced whole; the loops and every LOOPn folder stay as they
    // were, and no staging is left behind.
    void namesTravelToAFreshLibrary() {
        put(namesFile(), "Brenvik loop names 1\n" + m_hashes[2] + "\tOld name\n");
        Tree before = treeOf(card());
        const Ran wrote = cli("here", "--write-card");
        QCOMPARE(wrote.status, 0);
        QCOMPARE(wrote.out.toStdString(), "Wrote 2 loop names to " + namesFile() + "\n");
        const Ran read = cli("there", "--read-card");
        QCOMPARE(read.status, 0);
        QCOMPARE(read.out.toStdString(),
                 "Read 1 loop name from " + namesFile() + " (1 kept as named on this computer)\n");
        library::LoopLibrary there = libraryOf("there");
        QCOMPARE(there.find(m_hashes[0])->name, std::string("Intro groove"));
        QCOMPARE(there.find(m_hashes[0])->notes, std::string("capo 2\n\tfade \\ out"));
        QCOMPARE(there.find(m_hashes[1])->name, std::string("Chorus"));  // the local name wins
        QVERIFY(!there.find(m_hashes[2]));                               // the old file's name is gone
        Tree after = treeOf(card());  // nothing but the file changed: no staging left, no LOOPn touched
        QVERIFY(before.erase("BRENVIK.TXT") && after.erase("BRENVIK.TXT") && after == before);
    }

    void damagedFiles_data() {
        QTest::addColumn<QString>("contents");  // HASH stands for LOOP1's hash, BIG for 1 MiB of comments
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");  // on the output, or the error stream when it failed
        QTest::newRow("no file") << "" << 1 << "FILE holds no loop names (BRENVIK.TXT)";
        QTest::newRow("over 1 MiB") << "Brenvik loop names 1\nHASH\tIntro\nBIG" << 1
                                    << "FILE/BRENVIK.TXT is larger than 1024 KiB: no names were read";
        QTest::newRow("another first line") << "Brenvik loop names 2\nHASH\tIntro\n" << 1
                                            << "FILE/BRENVIK.TXT is not a Brenvik loop names file: no names were read";
        const QString bad = "HASHX\tlong hash\nHASH\n0123456789ABCDEF0123456789ABCDEF\tupper case\n"
                            "HASH\tbad \\q escape\nHASH\tend\\\nHASH\t\t\nHASH\t" + QString(201, 'n') + "\n"
                            "HASH\tcontrol \x01 character\n0123\tshort\n";
        QTest::newRow("lines skipped, the good one read")
            << "\xEF\xBB\xBF" "Brenvik loop names 1\r\n# a comment\r\n\r\n" + bad + "HASH\tAC\\\\DC\r\n" << 0
            << "Read 1 loop name from FILE/BRENVIK.TXT (9 lines skipped)";
        QTest::newRow("one line skipped") << "Brenvik loop names 1\nHASH\tAC\\\\DC\nHASH\n" << 0
                                          << "Read 1 loop name from FILE/BRENVIK.TXT (1 line skipped)";
    }
    void damagedFiles() {
        QFETCH(QString, contents);
        QFETCH(int, status);
        QFETCH(QString, said);
        std::string written = contents.toStdString();
        const size_t big = written.find("BIG");
        if (big != std::string::npos) written.replace(big, 3, std::string(card::kLargestNamesFile, '#'));
        for (size_t at; (at = written.find("HASH")) != std::string::npos;) written.replace(at, 4, m_hashes[0]);
        if (!contents.isEmpty()) put(namesFile(), written);
        const Ran read = cli("there", "--read-card");
        QCOMPARE(read.status, status);
        const QString expected = said.replace("FILE", QString::fromStdString(card())) + "\n";
        QVERIFY2((status == 0 ? read.out : read.err).startsWith(expected), qPrintable(read.out + read.err));
        library::LoopLibrary there = libraryOf("there");
        QCOMPARE(there.find(m_hashes[1])->name, std::string("Chorus"));  // nothing lost
        QCOMPARE(there.find(m_hashes[0]).has_value(), status == 0);
        if (status == 0) QCOMPARE(there.find(m_hashes[0])->name, std::string("AC\\DC"));
        if (!contents.isEmpty()) QCOMPARE(text(namesFile()), written);  // the card's file stays as it was
    }

    // A write cut short: once committed, the next program to open the card puts the new file in
    // place; before, the old one stays and the staged one goes.
    void interruptedWrite_data() {
        QTest::addColumn<bool>("committed");
        QTest::newRow("committed: finished") << true;
        QTest::newRow("not committed: taken back") << false;
    }
    void interruptedWrite() {
        QFETCH(bool, committed);
        const std::string staging = card() + "/.brenvik-staging/";
        put(namesFile(), "Brenvik loop names 1\n");
        fs::create_directories(staging);
        const std::string head = "brenvik card change 1\nwhat\twrite the loop names\n";
        put(staging + "intent", head + "end\n");
        put(staging + "new-1", "Brenvik loop names 1\n" + m_hashes[0] + "\tIntro\n");
        if (committed) put(staging + "committed", head + "out\tBRENVIK.TXT\tout-1\nin\tnew-1\tBRENVIK.TXT\nend\n");
        const Ran recovered = cli("there", "", "recover");
        QCOMPARE(recovered.status, 0);
        QVERIFY(recovered.out.startsWith(committed ? "Finished an interrupted change" : "Took back an interrupted change"));
        QVERIFY(!fs::exists(staging));
        QCOMPARE(text(namesFile()), "Brenvik loop names 1\n" + (committed ? m_hashes[0] + "\tIntro\n" : ""));
    }
};

QTEST_GUILESS_MAIN(TestNamesFile)
#include "tst_namesfile.moc"
