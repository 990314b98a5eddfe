// Loop names through the built brenvik-cli, its library in the test's own data folder: a name
// given at to-loop follows its loop through every arrangement, backup and restore and to another
// card, an edited loop loses it, loops a sample apart never share one, a damaged library leaves
// every command working and is told once, and refused names are bad usage.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

#include "ArrangementRequests.h"
#include "LoopFixture.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;

class TestNames : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_out, m_err;

    QString path(const QString& name) const { return m_dir->path() + "/" + name; }
    // Runs brenvik-cli with CARD, CARD2 and LAST (the last line it printed) put in; its status.
    int cli(QStringList args) {
        const QString last = QString::fromUtf8(m_out).trimmed().section('\n', -1);
        for (QString& arg : args) arg.replace("CARD", path("card")).replace("LAST", last);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", path("data"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(m_dir->path());
        program.start(BRENVIK_CLI_PATH, args);
        const bool ended = program.waitForFinished(60000) && program.exitStatus() == QProcess::NormalExit;
        m_out = program.readAllStandardOutput();
        m_err = program.readAllStandardError();
        return ended ? program.exitCode() : -1;
    }
    // "1=Intro groove,3=" for the loops of `card` as list --json names them.
    QString namesOn(const QString& card) {
        cli({"list", card, "--json"});
        QStringList names;
        for (const QJsonValue& value : QJsonDocument::fromJson(m_out).object()["loops"].toArray()) {
            const QJsonObject loop = value.toObject();
            names << QString::number(loop["number"].toInt()) + "=" + loop["loopName"].toString();
        }
        return names.join(',');
    }

private slots:
    // Two waves of one length a sample apart, written as loops 1 and 2; loop 3 the Repeater's own.
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        std::vector<uint8_t> audio = sineBytes(88200, 220, 0.3);
        writeFile(path("Intro groove.wav").toStdString(), wave(1, audio));
        audio[1000] ^= 1;
        writeFile(path("Verse.wav").toStdString(), wave(1, audio));
        for (const char* folder : {"card", "card2", "backups"}) QDir().mkpath(path(folder));
        QVERIFY2(cli({"to-loop", "Intro groove.wav", "Verse.wav", "--dest", "CARD", "--beats", "4"}) == 0, m_err);
        makeCardLoop(path("card").toStdString(), 3, {1}, 8);
    }

    void namesFollowLoops_data() {
        QTest::addColumn<QList<QStringList>>("steps");  // "poke FILE" flips a byte of FILE
        QTest::addColumn<QString>("card");
        QTest::addColumn<QString>("card2");
        const QString card2;
        QTest::newRow("move") << QList<QStringList>{{"move", "CARD", "1", "9"}} << "2=Verse,3=,9=Intro groove" << card2;
        QTest::newRow("swap") << QList<QStringList>{{"swap", "CARD", "1", "2"}} << "1=Verse,2=Intro groove,3=" << card2;
        QTest::newRow("renumber") << QList<QStringList>{{"renumber", "CARD", "--order", "3,1"}}
                                  << "1=,2=Verse,3=Intro groove" << card2;
        QTest::newRow("copy to another card") << QList<QStringList>{{"copy", "CARD", "2", "CARD2", "7"}}
                                              << "1=Intro groove,2=Verse,3=" << "7=Verse";
        QTest::newRow("move to another card") << QList<QStringList>{{"move", "CARD", "1", "4", "--to", "CARD2"}}
                                              << "2=Verse,3=" << "4=Intro groove";
        QTest::newRow("delete and undo") << QList<QStringList>{{"delete", "CARD", "1", "2"}, {"undo", "CARD"}}
                                         << "1=Intro groove,2=Verse,3=" << card2;
        QTest::newRow("backup, restored onto another card")
            << QList<QStringList>{{"backup", "CARD", "backups"}, {"restore", "LAST", "CARD2"}}
            << "1=Intro groove,2=Verse,3=" << "1=Intro groove,2=Verse,3=";
        QTest::newRow("named, notes, then cleared")
            << QList<QStringList>{{"name", "CARD", "3", "Outro"}, {"name", "CARD", "1", "--clear", "--notes", "x"}}
            << "1=,2=Verse,3=Outro" << card2;
        QTest::newRow("named, then its track edited")
            << QList<QStringList>{{"name", "CARD", "2", "Chorus"}, {"poke", "card/LOOP2/track1.wav"}}
            << "1=Intro groove,2=,3=" << card2;
    }
    void namesFollowLoops() {
        QFETCH(QList<QStringList>, steps);
        for (QStringList step : steps) {
            if (step[0] == "poke") {
                std::vector<uint8_t> bytes = readFile(path(step[1]).toStdString());
                bytes[bytes.size() / 2] ^= 1;
                writeFile(path(step[1]).toStdString(), bytes);
                continue;
            }
            QVERIFY2(cli(step) == 0, m_err.constData());
        }
        QTEST(namesOn(path("card")), "card");
        QTEST(namesOn(path("card2")), "card2");
    }

    void commands_data() {
        QTest::addColumn<bool>("damaged");  // garbage where the library's file is
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");  // a part of what it says on stderr, once
        const QString unusable = "cannot be used";
        QTest::newRow("damaged: to-loop") << true << QStringList{"to-loop", "Verse.wav", "--dest", "CARD"} << 0 << unusable;
        QTest::newRow("damaged: list") << true << QStringList{"list", "CARD"} << 0 << unusable;
        QTest::newRow("damaged: info") << true << QStringList{"info", "CARD/LOOP1"} << 0 << unusable;
        QTest::newRow("damaged: swap") << true << QStringList{"swap", "CARD", "1", "3"} << 0 << unusable;
        QTest::newRow("damaged: name") << true << QStringList{"name", "CARD", "1", "A"} << 1 << unusable;
        QTest::newRow("too long") << false << QStringList{"name", "CARD", "1", QString(201, 'a')} << 2
                                  << "201 characters";
        QTest::newRow("control character") << false << QStringList{"name", "CARD", "1", "a\nb"} << 2
                                           << "control character";
        QTest::newRow("nothing to do") << false << QStringList{"name", "CARD", "1"} << 2 << "give NAME";
        QTest::newRow("a name and --clear") << false << QStringList{"name", "CARD", "1", "A", "--clear"} << 2 << "give either";
    }
    void commands() {
        QFETCH(bool, damaged);
        QFETCH(QStringList, args);
        QFETCH(QString, said);
        if (damaged) writeFile(path("data/Brenvik/library.sqlite").toStdString(), patternBytes(5000));
        QTEST(cli(args), "status");
        QCOMPARE(QString::fromUtf8(m_err).count(said), 1);
    }

    // The undo texts name the loops that have names, and only those.
    void planTexts() {
        const card::LoopNamer namer = [](int n) { return n == 4 ? std::string("Intro groove") : std::string(); };
        QCOMPARE(QString::fromStdString(card::swapRequest("c", 4, 20, namer).what), "swap of Intro groove (LOOP4) and LOOP20");
        QCOMPARE(QString::fromStdString(card::swapRequest("c", 5, 20, namer).what), "swap LOOP5 and LOOP20");
        QCOMPARE(QString::fromStdString(card::deleteRequest("c", {4, 20}, namer).what), "delete Intro groove (LOOP4), LOOP20");
        QCOMPARE(QString::fromStdString(card::moveRequest("c", 4, 20, {}, namer).what), "move Intro groove (LOOP4) to LOOP20");
    }
};

QTEST_GUILESS_MAIN(TestNames)
#include "tst_names.moc"
