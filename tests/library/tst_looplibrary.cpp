// The loop library on real loop folders and real library files in temporary folders: what makes
// two loops one, names refused and given, records kept across a reopening, and a library that
// cannot be used leaving every call harmless.
#include <sqlite3.h>

#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "CardNames.h"
#include "LoopContentHash.h"
#include "LoopFixture.h"
#include "LoopLibrary.h"
#include "LoopNames.h"
#include "Messages.h"
#include "TestFiles.h"

using namespace brenvik;
using library::LoopLibrary;
using library::LoopRecord;
namespace fs = std::filesystem;

class TestLoopLibrary : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::string root() const { return m_dir.path().toStdString(); }

private slots:
    // A copy of a loop, changed as the row says, against the original: the same hash (and so the
    // same record) only while the content is the same.
    void contentHash_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected");  // same, different or none
        QTest::newRow("copied to another card") << ""
                                                << "same";
        QTest::newRow("track named in capitals") << "capitals"
                                                 << "same";
        QTest::newRow("one sample differs") << "sample"
                                            << "different";
        QTest::newRow("a track removed") << "no track 2"
                                         << "different";
        QTest::newRow("description missing") << "no description"
                                             << "none";
    }
    void contentHash() {
        QFETCH(QString, change);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const std::string base = dir.path().toStdString();
        const std::string original = test::makeCardLoop(base + "/a", 7, {1, 2}, 3, 8, 120);
        const std::string copy = base + "/b/LOOP7";
        fs::create_directories(base + "/b");
        fs::copy(original, copy);
        if (change == "capitals") fs::rename(copy + "/track2.wav", copy + "/TRACK2.WAV");
        if (change == "no track 2") fs::remove(copy + "/track2.wav");
        if (change == "no description") fs::remove(copy + "/loopinfo.ldf");
        if (change == "sample") {
            auto bytes = test::readFile(copy + "/track1.wav");
            bytes[bytes.size() - 1] ^= 1;
            test::writeFile(copy + "/track1.wav", bytes);
        }

        const auto first = library::loopContentHash(original);
        const auto second = library::loopContentHash(copy);
        QVERIFY(first.hex);
        QCOMPARE(first.hex->size(), size_t(32));
        if (expected == "none") {
            QVERIFY(!second.hex);
            QVERIFY(QString::fromStdString(second.failure).contains("loopinfo.ldf"));
            return;
        }
        QVERIFY(second.hex);
        QCOMPARE(*first.hex == *second.hex, expected == "same");

        LoopLibrary library(base + "/library");
        QVERIFY(library.record(*first.hex, {"Intro groove", "/w/intro.wav", "ab", 1, "", 120.0}));
        QCOMPARE(library.find(*second.hex).has_value(), expected == "same");
    }

    void names_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("refusal");  // empty when accepted
        QTest::newRow("200 characters") << QString(200, QChar(0xE9)).toUtf8() << "";
        QTest::newRow("emoji and accents") << QString("Café 🎸 groove").toUtf8() << "";
        QTest::newRow("tab") << QByteArray("Intro\tgroove") << message::kNameHasControl;
        QTest::newRow("delete") << QByteArray("Intro\x7f") << message::kNameHasControl;
        QTest::newRow("next line (C1)") << QByteArray("Intro\xc2\x85") << message::kNameHasControl;
        QTest::newRow("stray byte") << QByteArray("Intro\xff") << message::kNameNotUtf8;
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << message::kNameNotUtf8;
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << message::kNameNotUtf8;
        QTest::newRow("cut short") << QByteArray("Intro \xe2\x82") << message::kNameNotUtf8;
    }
    void names() {
        QFETCH(QByteArray, name);
        QFETCH(QString, refusal);
        const auto found = library::nameRefusal(name.toStdString());
        QCOMPARE(QString::fromStdString(found.value_or("")), refusal);
    }

    void nameFromSource_data() {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("plain") << QByteArray("/w/Intro groove.wav") << QByteArray("Intro groove");
        QTest::newRow("dots") << QByteArray("/w/take.2.aiff") << QByteArray("take.2");
        QTest::newRow("stray byte") << QByteArray("/w/a\xff.wav") << QByteArray("a\xef\xbf\xbd");
        QTest::newRow("line break") << QByteArray("/w/a\nb.wav") << QByteArray("a b");
        QTest::newRow("long") << QByteArray(250, 'x').prepend("/w/").append(".flac")
                              << QByteArray(200, 'x');
    }
    void nameFromSource() {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, expected);
        const std::string name = library::nameFromSource(path.toStdString());
        QCOMPARE(QByteArray::fromStdString(name), expected);
        QVERIFY(!library::nameRefusal(name));
    }

    // Every call once, then the library closed and opened again: what it holds is what was kept.
    void survivesReopening() {
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString() + "/Brenvik";
        const LoopRecord written{"Verse", "/w/verse.wav", "cd", 1700000000, "capo 2", std::nullopt};
        {
            LoopLibrary library(folder);
            QVERIFY2(!library.unavailableReason(),
                     library.unavailableReason().value_or("").c_str());
            QVERIFY(library.record("h1", written));
            QVERIFY(library.rename("h1", "Verse 2"));
            QVERIFY(library.setNotes("h2", "recorded on the Repeater"));
            QVERIFY(library.copyRecord("h1", "h3"));
            QVERIFY(!library.copyRecord("h9", "h4"));
            QVERIFY(library.record("h5", written));
            QVERIFY(library.clear("h5"));
            QVERIFY(!library.clear("h5"));
        }
        LoopLibrary library(folder);
        QVERIFY(!library.takeReport());
        LoopRecord renamed = written;
        renamed.name = "Verse 2";
        QCOMPARE(library.find("h1"), std::optional(renamed));
        QCOMPARE(library.find("h3"), std::optional(renamed));
        QCOMPARE(library.find("h2"),
                 std::optional(LoopRecord{"", "", "", {}, "recorded on the Repeater", {}}));
        QVERIFY(!library.find("h4"));
        QVERIFY(!library.find("h5"));
    }

    // A card's names: a loop written is named after its source; once read, an unchanged folder's
    // hash comes from the cache without a read; moved to another number it keeps its name; a
    // track edited loses it.
    void cardNames() {
        QTemporaryDir dir;
        const std::string base = dir.path().toStdString();
        const std::string loop = test::makeCardLoop(base + "/card", 3, {1, 2}, 3, 8, 120);
        test::writeFile(base + "/Intro groove.wav", test::patternBytes(100));
        LoopLibrary library(base + "/library");
        library::CardNames card(library, base + "/card");
        const auto hash = card.nameWritten(loop, base + "/Intro groove.wav", 121.5);
        QVERIFY(hash);
        const auto record = card.of(loop).record;
        QVERIFY(record);
        QCOMPARE(record->name, std::string("Intro groove"));
        QCOMPARE(record->sourcePath, base + "/Intro groove.wav");
        QCOMPARE(record->sourceHash, *library::fileContentHash(base + "/Intro groove.wav").hex);
        QCOMPARE(record->tempoFound, std::optional(121.5));

        QCOMPARE(card.known({loop})[loop].hash, hash);
        const std::string moved = base + "/card/LOOP9";
        fs::rename(loop, moved);
        QCOMPARE(card.of(moved).name(), std::string("Intro groove"));
        QVERIFY(!card.of(moved + "x").hash);

        auto bytes = test::readFile(moved + "/track2.wav");
        bytes.back() ^= 1;
        test::writeFile(moved + "/track2.wav", bytes);
        QVERIFY(!card.known({moved})[moved].hash);
        const auto edited = card.of(moved);
        QVERIFY(edited.hash && edited.hash != hash);
        QVERIFY(!edited.record);

        // A whole card read at once, on several threads: every loop hashed, as one by one.
        std::vector<std::string> folders;
        for (int n = 10; n < 16; ++n)
            folders.push_back(test::makeCardLoop(base + "/card", n, {1}, 2 + n, 8, 100 + n));
        std::pair<int, int> told;
        const auto all = card.all(folders, [&](int done, int total) { told = {done, total}; });
        QCOMPARE(told, std::pair(6, 6));
        for (const auto& folder : folders)
            QCOMPARE(all.at(folder).hash, library::loopContentHash(folder).hex);
    }

    void unavailable_data() {
        QTest::addColumn<QString>("trouble");
        QTest::newRow("garbage bytes") << "garbage";
        QTest::newRow("folder is a file") << "folder is a file";
        QTest::newRow("library is a folder") << "library is a folder";
        QTest::newRow("made by a newer program") << "newer";
        QTest::newRow("locked by another program") << "locked";
    }
    void unavailable() {
        QFETCH(QString, trouble);
        QTemporaryDir dir;
        std::string folder = dir.path().toStdString() + "/Brenvik";
        const std::string file = folder + "/" + LoopLibrary::kFileName;
        fs::create_directories(folder);
        const auto garbage = test::patternBytes(8192);
        if (trouble == "garbage") test::writeFile(file, garbage);
        if (trouble == "folder is a file") {
            test::writeFile(folder + "/plain", garbage);
            folder += "/plain";
        }
        if (trouble == "library is a folder") fs::create_directories(file);
        sqlite3* other = nullptr;
        if (trouble == "newer" || trouble == "locked") {
            LoopLibrary{folder};
            QCOMPARE(sqlite3_open(file.c_str(), &other), SQLITE_OK);
            const char* sql = trouble == "newer" ? "PRAGMA user_version = 99" : "BEGIN EXCLUSIVE";
            QCOMPARE(sqlite3_exec(other, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        }

        LoopLibrary library(folder);
        QVERIFY(!library.record("h1", {"Intro", "", "", {}, "", {}}));
        QVERIFY(!library.rename("h1", "Intro"));
        QVERIFY(!library.setNotes("h1", "notes"));
        QVERIFY(!library.copyRecord("h1", "h2"));
        QVERIFY(!library.clear("h1"));
        QVERIFY(!library.find("h1"));
        const auto report = library.takeReport();
        QVERIFY(report);
        QVERIFY2(QString::fromStdString(*report).contains(QString::fromStdString(folder)),
                 report->c_str());
        QVERIFY(!library.takeReport());
        QVERIFY(!library.rename("h1", "Intro"));
        QVERIFY(!library.takeReport());
        QCOMPARE(library.unavailableReason(), report);
        sqlite3_close(other);
        if (trouble == "garbage") QCOMPARE(test::readFile(file), garbage);
    }
};

QTEST_APPLESS_MAIN(TestLoopLibrary)
#include "tst_looplibrary.moc"
