// What a user is told when a save, restore, backup or export fails: the program's own message as it
// stands and, below it, its cause, for a full card, a read-only card, a missing or unreadable file,
// a wave's name taken by a folder and a bad argument, through brenvik-cli and through the
// wave-to-Repeater window's model; and what a command that throws ends with.
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <new>
#include <optional>

#include "CliRun.h"
#include "CommandTable.h"
#include "FullCard.h"
#include "LoopFixture.h"
#include "RoutineError.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"
#include "TestInteraction.h"
#include "Unprivileged.h"
#include "WaveToRepeaterModel.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

namespace {

// A folder nothing may be written into (or a file nothing may read), for as long as it lives: its
// mode says so, and a test run as root (whom modes do not stop) works meanwhile as an unprivileged user.
class Guarded {
public:
    Guarded(const std::string& root, const std::string& folder, mode_t mode) : m_folder(folder) {
        ::chmod(root.c_str(), 0755);  // reachable for that user
        ::chmod(folder.c_str(), mode);
        m_user.emplace();
    }
    ~Guarded() {
        m_user.reset();
        ::chmod(m_folder.c_str(), 0755);
    }

private:
    std::string m_folder;
    std::optional<Unprivileged> m_user;
};

}  // namespace

class TestFailureReasons : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    std::string path(const std::string& name) const {
        return m_dir->path().toStdString() + "/" + name;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        for (const char* folder : {"card", "dest", "out"}) fs::create_directory(path(folder));
        writeFile(path("in.wav"), wave(1, patternBytes(2 * 1048576)));  // 95 beat positions
        makeCardLoop(path("src"), 3, {1}, 8);
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));
    }

    void reasons_data() {
        QTest::addColumn<QString>("trouble");  // full, read-only, missing, unreadable, blocked, bad argument
        QTest::addColumn<QString>("command");  // of brenvik-cli, or "window" for the window's model
        QTest::addColumn<QString>("message");  // {dir} stands for the test's folder
        QTest::addColumn<QString>("reason");   // a pattern
        const auto row = [](const QString& trouble, const QString& command, const QString& message,
                            const QString& reason) {
            QTest::newRow(qPrintable(trouble + ", " + command))
                << trouble << command << message << reason;
        };
        const QString failed = "error in fileSaving()";
        for (const QString via : {"to-loop", "window"}) {
            row("full", via, failed, "cannot write {dir}/card/.brenvik-staging/new-1/track1.wav: File too large");
            row("read-only", via, failed,
                "cannot create the folder {dir}/card/.brenvik-staging: Permission denied");
            row("bad", via, failed,
                "the tempo index 188 \\(4 beats per bar x 48 beats less one\\) lies outside the "
                "tempo table \\(0 to 95\\)");
        }
        row("missing", "to-loop", "File does not exist!", "there is no file {dir}/in.wav");
        row("missing", "window", failed, "cannot open {dir}/in.wav: No such file or directory");
        row("unreadable", "to-loop", "Error in fileOpeing()", "cannot open {dir}/in.wav: Permission denied");
        row("read-only", "restore", "Could not restore {dir}/card/LOOP3: nothing was restored",
            "cannot create the folder {dir}/card/.brenvik-staging: Permission denied");
        row("read-only", "backup", "The card could not be backed up into {dir}/dest",
            "cannot create the folder {dir}/dest/src-.*: Permission denied");
        row("read-only", "export", "{dir}/out/LOOP3-track1.wav could not be written",
            "cannot create {dir}/out/LOOP3-track1.wav: Permission denied");
        row("blocked", "export", "{dir}/out/LOOP3-track1.wav could not be written",
            "cannot create {dir}/out/LOOP3-track1.wav: Is a directory");
        row("missing", "export", "{dir}/src/LOOP3: File does not exist!",
            "there is no file {dir}/src/LOOP3/track1.wav");
    }

    void reasons() {
        QFETCH(QString, trouble);
        QFETCH(QString, command);
        QFETCH(QString, message);
        QFETCH(QString, reason);
        const QString dir = m_dir->path();
        message.replace("{dir}", dir);
        reason.replace("{dir}", QRegularExpression::escape(dir));
        std::vector<std::string> args{"to-loop", path("in.wav"), "--dest", path("card")};
        std::string target = path("card");  // what a read-only run cannot write into
        if (command == "restore") {
            const std::string made = runCli({"backup", path("src"), path("dest")}).out;
            args = {"restore", made.substr(0, made.size() - 1), path("card")};
        } else if (command == "backup") {
            args = {"backup", path("src"), target = path("dest")};
        } else if (command == "export") {
            // By number: the unprivileged user cannot reach the test's loop library either.
            args = {"export", path("src/LOOP3"), "--to", target = path("out"), "--numbers-only"};
        }
        // A loop with a track missing is exported only with --force: then the opener says why not.
        if (trouble == "missing" && command == "export") args.push_back("--force");
        if (trouble == "blocked") {
            fs::create_directories(path("out/LOOP3-track1.wav/kept"));
            args.push_back("--overwrite");
        }
        if (trouble == "bad") args.insert(args.end(), {"--beats", "48", "--beats-per-bar", "4"});

        // The window's model has its wave open, with 48 beats in bars of 4 for a bad argument.
        Preferences preferences{path("card"), path("out"), 45, true};
        ScriptedFiles files;
        TestInteraction ui;
        WaveToRepeaterModel model(preferences, files, ui);
        if (command == "window") {
            model.load();
            model.openWaveFile(path("in.wav"));
            if (trouble == "bad") model.setTempoPosition(47);
            for (int step = 0; trouble == "bad" && step < 3; ++step)
                model.stepBeatsPerBar();  // 2, 3, 4
            if (trouble == "bad") ui.answerNextQuestion(MessageAnswer::No);  // the tempo as it stands
        }
        if (trouble == "missing")
            fs::remove(command == "export" ? path("src/LOOP3/track1.wav") : path("in.wav"));

        std::string shown, because;  // the first line, and the rest
        {
            std::optional<FullCard> full;
            std::optional<Guarded> guarded;
            if (trouble == "full") full.emplace();
            if (trouble == "read-only") guarded.emplace(m_dir->path().toStdString(), target, 0555);
            if (trouble == "unreadable") guarded.emplace(m_dir->path().toStdString(), path("in.wav"), 0);
            if (command == "window") {
                model.save();
            } else {
                const CliRun run = runCli(args);
                // A bad argument is warned of first: the tempo shown would have been written.
                const std::string err = trouble == "bad" ? run.err.substr(run.err.find('\n') + 1) : run.err;
                shown = err.substr(0, err.find('\n'));
                because = err.substr(shown.size() + 1);
            }
        }
        if (command == "window") {
            QCOMPARE(ui.messages().size(), size_t(trouble == "bad" ? 2 : 1));
            shown = ui.messages().back().text;
            because = "  " + ui.messages().back().detail + "\n";
        }
        QCOMPARE(QString::fromStdString(shown), message);
        const QRegularExpression pattern("^  " + reason + "\n$");
        QVERIFY2(pattern.match(QString::fromStdString(because)).hasMatch(), because.c_str());
    }

    // Whatever a command lets escape ends as its failure, with the reason, never as an abort.
    void aThrowingCommandFails_data() {
        QTest::addColumn<int>("thrown");
        QTest::addColumn<QString>("reason");
        QTest::newRow("routine") << 0 << "cannot read /card/LOOP1/track1.wav: Input/output error";
        QTest::newRow("standard") << 1 << "std::bad_alloc";
        QTest::newRow("other") << 2 << "an unknown failure";
    }
    void aThrowingCommandFails() {
        QFETCH(int, thrown);
        QFETCH(QString, reason);
        static int s_thrown;
        s_thrown = thrown;
        constexpr cli::CommandRun throwing = [](const cli::Arguments&, std::ostream&, std::ostream&,
                                                bool) -> int {
            if (s_thrown == 0)
                throw RoutineError("cannot read /card/LOOP1/track1.wav: Input/output error");
            if (s_thrown == 1) throw std::bad_alloc();
            throw 7;  // not an exception at all
        };
        static constexpr cli::Command kThrowing{"throw", "Throws.", {}, {}, throwing};
        const cli::Command* commands[] = {&kThrowing};
        std::ostringstream out, err;
        QCOMPARE(cli::run(commands, {"throw"}, out, err), cli::kFailed);
        QCOMPARE(err.str(), "brenvik-cli throw: An unexpected failure stopped the command\n  " +
                                reason.toStdString() + "\n");
    }
};

QTEST_GUILESS_MAIN(TestFailureReasons)
#include "tst_failurereasons.moc"
