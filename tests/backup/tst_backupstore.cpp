// The backup store on real folders: a loop's files copied and checked, listed by loop, the
// oldest backups removed beyond the size limit.
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include "BackupCheck.h"
#include "BackupNames.h"
#include "BackupStore.h"
#include "ScriptedFiles.h"
#include "TestFiles.h"

using namespace brenvik;
using namespace brenvik::test;
namespace fs = std::filesystem;

class TestBackupStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    ScriptedFiles m_files;

    std::string path(const std::string& name) const { return m_dir.path().toStdString() + "/" + name; }

    // LOOPn with a description and a track of `bytes` pattern bytes.
    std::string loop(int number, size_t bytes) {
        const std::string folder = path("card/LOOP" + std::to_string(number));
        fs::create_directories(folder);
        writeFile(folder + "/loopinfo.ldf", patternBytes(16384, static_cast<uint16_t>(number)));
        writeFile(folder + "/track1.wav", patternBytes(bytes, 9));
        return folder;
    }

private slots:
    void init() { fs::remove_all(path("store")); }

    // The copy holds the same files, passes its own manifest check and is listed for its loop.
    void backsUpALoop() {
        backup::BackupStore store(path("store"), m_files);
        const std::string made = store.backUpLoop(loop(7, 5000));
        QVERIFY(treeOf(made + "/LOOP7") == treeOf(path("card/LOOP7")));
        QVERIFY(backup::checkBackup(m_files, made).manifest.has_value());
        QCOMPARE(store.listBackups(7).size(), size_t(1));
        QCOMPARE(store.listBackups(7)[0].folder, made);
        QVERIFY(store.listBackups(8).empty());
    }

    // A backup's folder is named for the moment in UTC, whatever the machine's time zone.
    void stampsInUtc() {
        QCOMPARE(backup::utcStamp(0), std::string("19700101T000000Z"));
        QCOMPARE(backup::utcStamp(1700000000), std::string("20231114T221320Z"));
    }

    void keepsTheNewestWithinTheLimit_data() {
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("kept");
        const qint64 one = 16384 + 5000 + 600;  // a backup with its manifest and origin
        QTest::newRow("room for all") << qint64(backup::kDefaultStoreLimit) << 3;
        QTest::newRow("room for two") << 2 * one << 2;
        QTest::newRow("room for none: the new one stays") << qint64(10) << 1;
    }

    // Three backups of one loop in the same second, pruned once made: the oldest go first, the
    // newest always stays.
    void keepsTheNewestWithinTheLimit() {
        QFETCH(qint64, limit);
        QFETCH(int, kept);
        backup::BackupStore store(path("store"), m_files, limit);
        std::vector<std::string> made;
        for (int k = 0; k < 3; ++k) made.push_back(store.backUpLoop(loop(7, 5000)));
        store.prune();
        const std::vector<backup::StoredBackup> list = store.listBackups();
        QCOMPARE(int(list.size()), kept);
        for (int k = 0; k < kept; ++k) QCOMPARE(list[size_t(k)].folder, made[size_t(2 - k)]);
    }
};

QTEST_GUILESS_MAIN(TestBackupStore)
#include "tst_backupstore.moc"
