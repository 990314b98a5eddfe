// Loop names in the files brenvik-cli writes and lists, through the built program: export names
// each wave after its loop (unless --numbers-only), made safe for a card; backups lists the name
// of each backup's loop; a damaged library costs the names and nothing else.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "BackupStore.h"
#include "ExportFileName.h"
#include "LoopContentHash.h"
#include "LoopFixture.h"
#include "LoopLibrary.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;

class TestNamedFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::string path(const std::string& name) const { return m_dir->path().toStdString() + "/" + name; }

    // LOOP1 (a stereo pair) named "Intro: groove?", LOOP2 (one track) "Verse. " and LOOP3 none.
    void makeNamedCard(bool damagedLibrary) {
        const std::string intro = makeCardLoop(path("card"), 1, {1, 2}, 21), verse = makeCardLoop(path("card"), 2, {1}, 22);
        makeCardLoop(path("card"), 3, {1}, 23);
        {
            library::LoopLibrary names(library::LoopLibrary::folderIn(path("data")));
            names.rename(*library::loopContentHash(intro).hex, "Intro: groove?");
            names.rename(*library::loopContentHash(verse).hex, "Verse. ");
        }  // closed, so that nothing of it is written after the damage
        if (damagedLibrary) writeFile(path("data/Brenvik/") + library::LoopLibrary::kFileName, patternBytes(4096));
    }

    // The built program's status, output and error output.
    std::tuple<int, QString, QString> run(const QStringList& args) {
        QProcess program;
        program.start(BRENVIK_CLI_PATH, args);
        if (!program.waitForFinished(60000)) return {-1, {}, {}};
        return {program.exitCode(), program.readAllStandardOutput(), program.readAllStandardError()};
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(path("data")));
        std::filesystem::create_directories(path("out"));
    }

    void fileNames_data() {
        QTest::addColumn<QString>("numbered");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fileName");
        const QString e(QChar(0xE9));
        QTest::newRow("no name") << "LOOP3" << "" << "LOOP3.wav";
        QTest::newRow("plain") << "LOOP3" << "Intro groove" << "LOOP3 Intro groove.wav";
        QTest::newRow("unsafe") << "LOOP3-track2" << "a/b\\c:d*e?f\"g<h>i|j" << "LOOP3-track2 a_b_c_d_e_f_g_h_i_j.wav";
        QTest::newRow("controls") << "LOOP3" << "a\tb\x7f" "c\u0085d" << "LOOP3 a_b_c_d.wav";
        QTest::newRow("trailing") << "LOOP3" << ". Outro. . " << "LOOP3 . Outro____.wav";
        QTest::newRow("all dots") << "LOOP3" << ".." << "LOOP3 __.wav";
        QTest::newRow("cut whole") << "LOOP3-track2" << e.repeated(200) << "LOOP3-track2 " + e.repeated(119) + ".wav";
        QTest::newRow("not inside") << "LOOP3" << e.repeated(200) << "LOOP3 " + e.repeated(122) + ".wav";
        QTest::newRow("cut at a dot") << "LOOP3" << QString(243, 'a') + ". x" << "LOOP3 " + QString(243, 'a') + "__.wav";
    }
    void fileNames() {
        QFETCH(QString, numbered);
        QFETCH(QString, name);
        QFETCH(QString, fileName);
        const std::string made = library::exportFileName(numbered.toStdString(), name.toStdString());
        QCOMPARE(QString::fromStdString(made), fileName);
        QVERIFY(made.size() <= library::kLongestFileName);
    }

    void exportsNamedWaves_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("damagedLibrary");
        QTest::addColumn<QStringList>("waves");
        const QStringList numbers{"LOOP1.wav", "LOOP2-track1.wav", "LOOP3-track1.wav"};
        QTest::newRow("names") << QStringList{} << false
                               << QStringList{"LOOP1 Intro_ groove_.wav", "LOOP2-track1 Verse__.wav", "LOOP3-track1.wav"};
        QTest::newRow("numbers only") << QStringList{"--numbers-only"} << false << numbers;
        QTest::newRow("damaged library") << QStringList{} << true << numbers;
    }
    void exportsNamedWaves() {
        QFETCH(QStringList, options);
        QFETCH(bool, damagedLibrary);
        QFETCH(QStringList, waves);
        makeNamedCard(damagedLibrary);
        const auto [status, out, err] = run(QStringList{"export", QString::fromStdString(path("card")), "--to",
                                                        QString::fromStdString(path("out"))} + options);
        QCOMPARE(status, 0);
        QString listed;
        for (const QString& wave : waves) listed += QString::fromStdString(path("out/")) + wave + "\n";
        QCOMPARE(out, listed);
        QCOMPARE(err.count("cannot be used"), damagedLibrary ? 1 : 0);
        QCOMPARE(static_cast<qsizetype>(std::distance(std::filesystem::directory_iterator(path("out")), {})), waves.size());
    }

    // Each backup's loop is listed with its name, in the text and the JSON; without a library the
    // list is today's.
    void listsBackupNames_data() {
        QTest::addColumn<bool>("damagedLibrary");
        QTest::newRow("library") << false;
        QTest::newRow("damaged library") << true;
    }
    void listsBackupNames() {
        QFETCH(bool, damagedLibrary);
        makeNamedCard(damagedLibrary);
        Files files;
        for (const int n : {1, 3}) backup::BackupStore(files).backUpLoop(path("card/LOOP" + std::to_string(n)));
        const auto [status, out, err] = run({"backups"});
        const auto [jsonStatus, json, jsonErr] = run({"backups", "--json"});
        QCOMPARE(status + jsonStatus, 0);
        const QStringList rows = out.split('\n').filter(QRegularExpression("^(loop|LOOP)"));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].contains(QRegularExpression("^loop +name +made")), !damagedLibrary);
        QCOMPARE(rows.filter(QRegularExpression("^LOOP1 +Intro: groove\\? +2")).size(), damagedLibrary ? 0 : 1);
        QVERIFY(rows.filter(QRegularExpression("^LOOP3 +2")).size() == 1);
        QCOMPARE(err.count("cannot be used"), damagedLibrary ? 1 : 0);
        QStringList names;
        for (const QJsonValue backup : QJsonDocument::fromJson(json.toUtf8())["backups"].toArray())
            names << QString::number(backup["loop"].toInt()) + "=" + backup["name"].toString("-");
        names.sort();
        QCOMPARE(names, (QStringList{damagedLibrary ? "1=-" : "1=Intro: groove?", "3=-"}));
    }
};

QTEST_GUILESS_MAIN(TestNamedFiles)
#include "tst_namedfiles.moc"
