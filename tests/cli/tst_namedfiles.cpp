// Loop names in what brenvik-cli writes and lists, through the built program: export names each
// wave after its loop (not with --numbers-only), made safe for a card, and backups lists each
// backup's loop name; a damaged library costs the names, once told, and nothing else.
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

private slots:
    void fileNames_data() {
        QTest::addColumn<QString>("numbered");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("fileName");
        const QString e(QChar(0xE9));
        QTest::newRow("no name") << "LOOP3" << "" << "LOOP3.wav";
        QTest::newRow("plain") << "LOOP3" << "Intro groove" << "LOOP3 Intro groove.wav";
        QTest::newRow("unsafe") << "LOOP3-track2" << "a/b\\c:d*e?f\"g<h>i|j" << "LOOP3-track2 a_b_c_d_e_f_g_h_i_j.wav";
        QTest::newRow("controls, not a letter's byte") << "LOOP3" << "a\tb\x7f" "c\u0085d\u0141" << "LOOP3 a_b_c_d\u0141.wav";
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

    // LOOP1 (a stereo pair) named "Intro: groove?", LOOP2 (one track) "Verse. ", LOOP3 unnamed;
    // LOOP1 and LOOP3 backed up.
    void namesOutside_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("damagedLibrary");
        QTest::addColumn<QString>("waves");
        const QString numbers = "LOOP1.wav LOOP2-track1.wav LOOP3-track1.wav";
        QTest::newRow("names") << "--overwrite" << false << "LOOP1 Intro_ groove_.wav LOOP2-track1 Verse__.wav LOOP3-track1.wav";
        QTest::newRow("numbers only") << "--numbers-only" << false << numbers;
        QTest::newRow("damaged library") << "--overwrite" << true << numbers;
    }
    void namesOutside() {
        QFETCH(QString, option);
        QFETCH(bool, damagedLibrary);
        QFETCH(QString, waves);
        const QTemporaryDir dir;
        const std::string root = dir.path().toStdString();
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(root + "/data"));
        const std::string intro = makeCardLoop(root + "/card", 1, {1, 2}, 21), verse = makeCardLoop(root + "/card", 2, {1}, 22);
        makeCardLoop(root + "/card", 3, {1}, 23);
        {
            library::LoopLibrary names(library::LoopLibrary::folderIn(root + "/data"));
            names.rename(*library::loopContentHash(intro).hex, "Intro: groove?");
            names.rename(*library::loopContentHash(verse).hex, "Verse. ");
        }  // closed, so that nothing of it is written after the damage
        if (damagedLibrary) writeFile(root + "/data/Brenvik/" + library::LoopLibrary::kFileName, patternBytes(4096));
        Files files;
        for (const char* loop : {"/card/LOOP1", "/card/LOOP3"}) backup::BackupStore(files).backUpLoop(root + loop);
        const auto run = [](const QStringList& args, QString& out) {
            QProcess program;
            program.start(BRENVIK_CLI_PATH, args);
            const bool ok = program.waitForFinished(60000) && program.exitCode() == 0;
            out = program.readAllStandardOutput();
            return ok ? program.readAllStandardError().count("cannot be used") : -1;
        };
        QString exported, listed, json;
        QCOMPARE(run({"export", dir.path() + "/card", "--to", dir.path(), option}, exported), damagedLibrary ? 1 : 0);
        QCOMPARE(run({"backups"}, listed) + run({"backups", "--json"}, json), damagedLibrary ? 2 : 0);

        QCOMPARE(exported.trimmed(), dir.path() + "/" + waves.split(".wav ").join(".wav\n" + dir.path() + "/"));
        const QStringList rows = listed.split('\n').filter(QRegularExpression("^(loop|LOOP)"));
        const QString named = damagedLibrary ? "" : "Intro: groove\\? +";
        QCOMPARE(rows.filter(QRegularExpression("^(loop +name +made|LOOP1 +" + named + "2|LOOP3 +2)")).size(),
                 damagedLibrary ? 2 : 3);
        QStringList names;
        for (const QJsonValue backup : QJsonDocument::fromJson(json.toUtf8())["backups"].toArray())
            names << QString::number(backup["loop"].toInt()) + "=" + backup["name"].toString("-");
        names.sort();
        QCOMPARE(names, (QStringList{damagedLibrary ? "1=-" : "1=Intro: groove?", "3=-"}));
    }
};

QTEST_GUILESS_MAIN(TestNamedFiles)
#include "tst_namedfiles.moc"
