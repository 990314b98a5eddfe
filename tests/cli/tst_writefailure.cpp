// The built brenvik-cli under a file-size limit that cuts a write part-way: the save ends with
// "error in fileSaving()" and exit status 1, and what was written by then stays; a loop it was
// replacing waits in the backup store.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "LoopFixture.h"
#include "TestChildren.h"
#include "TestFiles.h"

using namespace brenvik::test;
namespace fs = std::filesystem;

class TestWriteFailure : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    std::string path(const std::string& name) const { return m_dir.path().toStdString() + "/" + name; }

    // Runs the program with writes beyond `limit` bytes per file failing (SIGXFSZ ignored).
    static QProcess* start(QProcess& program, const QStringList& args, rlim_t limit) {
        tieToTest(program, [limit] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
        });
        program.start(BRENVIK_CLI_PATH, args);
        return &program;
    }

private slots:
    void cutPartWay_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QString>("written");  // the file cut at the limit
        QTest::newRow("to-loop mono") << "to-loop" << 1 << "card/.brenvik-staging/new-1/track1.wav";
        QTest::newRow("to-loop stereo") << "to-loop" << 2 << "card/.brenvik-staging/new-1/track1.wav";
        QTest::newRow("to-wave mono") << "to-wave" << 1 << "out.wav";
        QTest::newRow("to-wave stereo") << "to-wave" << 2 << "out.wav";
    }

    void cutPartWay() {
        QFETCH(QString, command);
        QFETCH(int, channels);
        QFETCH(QString, written);
        fs::remove_all(path("card"));
        fs::remove(path("out.wav"));
        fs::create_directory(path("card"));
        QStringList args{command};
        const rlim_t limit = 1536 * 1024;  // inside the second block of every copy
        if (command == "to-loop") {
            writeFile(path("in.wav"), wave(channels, patternBytes(size_t(channels) * 2 * 1048576)));
            args << QString::fromStdString(path("in.wav")) << "--dest" << QString::fromStdString(path("card"));
        } else {
            for (int k = 1; k <= channels; ++k) {
                const std::string name = "LOOP" + std::to_string(k);
                args << QString::fromStdString(makeLoop(m_dir.path().toStdString(), name, patternBytes(2 * 1048576)));
            }
            args << "--output" << QString::fromStdString(path("out.wav"));
        }
        QProcess program;
        start(program, args, limit);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
        // Into a pipe, not a terminal: the message and its reason, no progress bar drawn over it.
        QCOMPARE(QString(program.readAllStandardError()),
                 QString("error in fileSaving()\n  cannot write %1: File too large\n")
                     .arg(m_dir.filePath(written)));
        // A loop is written whole before it takes its number: a save cut part-way leaves the card
        // as it was.
        if (command == "to-loop")
            QCOMPARE(entriesIn(path("card")), 0);
        else
            QCOMPARE(fs::file_size(path(written.toStdString())), uintmax_t(limit));
    }

    // Replacing a loop and failing part-way: the old loop stays on the card byte for byte, and
    // the store keeps no copy of it that nothing needs.
    void overwriteCutPartWay() {
        fs::remove_all(path("card"));
        makeLoop(path("card"), "LOOP1", patternBytes(300000, 4));
        const Tree old = treeOf(path("card/LOOP1"));
        writeFile(path("in.wav"), wave(1, patternBytes(2 * 1048576)));
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", QString::fromStdString(path("data")));
        program.setProcessEnvironment(env);
        start(program, {"to-loop", QString::fromStdString(path("in.wav")), "--dest", QString::fromStdString(path("card")),
                        "--loop", "1", "--overwrite"}, 1536 * 1024);
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(treeOf(path("card/LOOP1")) == old);
        QCOMPARE(entriesIn(path("card")), 1);
        QVERIFY(!fs::exists(path("data/Brenvik/backups")) || fs::is_empty(path("data/Brenvik/backups")));
    }
};

QTEST_GUILESS_MAIN(TestWriteFailure)
#include "tst_writefailure.moc"
