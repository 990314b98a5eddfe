#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cstdint>
#include <vector>

#include "ByteSource.h"
#include "RoutineError.h"
#include "TestFiles.h"

using namespace brenvik;

using Four = std::array<uint8_t, 4>;

// Reading at offsets from memory and from files, and writing at offsets into files.
class TestByteSource : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void memoryReads() {
        MemorySource source(m_bytes);
        Four buffer{};
        QCOMPARE(source.readAt(1, buffer), size_t(4));
        QCOMPARE(buffer, (Four{11, 12, 13, 14}));
        buffer.fill(0xAA);
        QCOMPARE(source.readAt(4, buffer), size_t(2));  // a short read at the end
        QCOMPARE(buffer[0], uint8_t(14));
        QCOMPARE(buffer[1], uint8_t(15));
        for (int64_t offset : {6, 1000, -1}) QCOMPARE(source.readAt(offset, buffer), size_t(0));
        // A zero-filled read pads whatever lies past the end (or before the start) with 0.
        for (const auto& [offset, expected] :
             std::initializer_list<std::pair<int64_t, Four>>{{4, {14, 15, 0, 0}}, {100, {}}, {-1, {}}}) {
            buffer.fill(0xAA);
            source.readZeroFilled(offset, buffer);
            QCOMPARE(buffer, expected);
        }
    }

    void fileReads() {
        test::writeFile(path("six"), m_bytes);
        FileSource source(path("six"));
        QCOMPARE(source.size(), int64_t(6));
        std::array<uint8_t, 3> buffer{};
        QCOMPARE(source.readAt(2, buffer), size_t(3));
        QCOMPARE(buffer, (std::array<uint8_t, 3>{12, 13, 14}));
        QCOMPARE(source.readAt(5, buffer), size_t(1));
        QCOMPARE(buffer[0], uint8_t(15));
        QCOMPARE(source.readAt(6, buffer), size_t(0));
    }

    void sinkWritesAtOffsets() {
        test::writeFile(path("out"), m_bytes);
        {
            FileSink sink(path("out"));  // no truncation
            sink.writeAt(1, std::array<uint8_t, 2>{0xEE, 0xFF});
            sink.close();
            FileSink fresh(path("new"));
            fresh.writeAt(3, std::array<uint8_t, 2>{1, 2});  // the gap reads as zero bytes
        }  // closed by the destructor
        QCOMPARE(test::readFile(path("out")), (std::vector<uint8_t>{10, 0xEE, 0xFF, 13, 14, 15}));
        QCOMPARE(test::readFile(path("new")), (std::vector<uint8_t>{0, 0, 0, 1, 2}));
    }

    void openFailures() {
        QVERIFY(QDir(m_dir->path()).mkdir("LOOP1"));
        QVERIFY_THROWS_EXCEPTION(RoutineError, FileSource(path("missing.wav")));
        QVERIFY_THROWS_EXCEPTION(RoutineError, FileSource(path("LOOP1")));  // a folder is no file
        QVERIFY_THROWS_EXCEPTION(RoutineError, FileSink(path("nowhere/track1.wav")));
    }

private:
    std::string path(const char* name) const { return m_dir->filePath(name).toStdString(); }
    std::unique_ptr<QTemporaryDir> m_dir;
    const std::vector<uint8_t> m_bytes{10, 11, 12, 13, 14, 15};
};

QTEST_APPLESS_MAIN(TestByteSource)
#include "tst_bytesource.moc"
