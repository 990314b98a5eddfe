#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cstdint>
#include <vector>

#include "ByteSource.h"
#include "RoutineError.h"
#include "TestFiles.h"

using namespace brenvik;

// Reading at offsets from memory and from files, and writing at offsets into files.
class TestByteSource : public QObject {
    Q_OBJECT
private slots:
    void init();
    void memoryReadsWhatExists();
    void zeroFilledReadPadsTheMissingPart();
    void fileReadsAtOffsets();
    void fileThatIsNotThere();
    void folderIsNoFile();
    void sinkWritesWithoutTruncating();
    void sinkExtendsWithZeroGap();
    void sinkIntoMissingFolder();

private:
    std::string path(const char* name) const { return m_dir->filePath(name).toStdString(); }
    std::unique_ptr<QTemporaryDir> m_dir;
    const std::vector<uint8_t> m_bytes{10, 11, 12, 13, 14, 15};
};

void TestByteSource::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestByteSource::memoryReadsWhatExists() {
    MemorySource source(m_bytes);
    std::array<uint8_t, 4> buffer{};
    QCOMPARE(source.readAt(1, buffer), size_t(4));
    QCOMPARE(buffer, (std::array<uint8_t, 4>{11, 12, 13, 14}));
    buffer.fill(0xAA);
    QCOMPARE(source.readAt(4, buffer), size_t(2));  // a short read at the end
    QCOMPARE(buffer[0], uint8_t(14));
    QCOMPARE(buffer[1], uint8_t(15));
    QCOMPARE(source.readAt(6, buffer), size_t(0));
    QCOMPARE(source.readAt(1000, buffer), size_t(0));
    QCOMPARE(source.readAt(-1, buffer), size_t(0));
}

void TestByteSource::zeroFilledReadPadsTheMissingPart() {
    MemorySource source(m_bytes);
    std::array<uint8_t, 4> buffer;
    buffer.fill(0xAA);
    source.readZeroFilled(4, buffer);
    QCOMPARE(buffer, (std::array<uint8_t, 4>{14, 15, 0, 0}));
    buffer.fill(0xAA);
    source.readZeroFilled(100, buffer);
    QCOMPARE(buffer, (std::array<uint8_t, 4>{0, 0, 0, 0}));
    buffer.fill(0xAA);
    source.readZeroFilled(-1, buffer);
    QCOMPARE(buffer, (std::array<uint8_t, 4>{0, 0, 0, 0}));
}

void TestByteSource::fileReadsAtOffsets() {
    test::writeFile(path("six"), m_bytes);
    FileSource source(path("six"));
    QCOMPARE(source.size(), int64_t(6));
    std::array<uint8_t, 3> buffer{};
    QCOMPARE(source.readAt(2, buffer), size_t(3));
    QCOMPARE(buffer, (std::array<uint8_t, 3>{12, 13, 14}));
    QCOMPARE(source.readAt(5, buffer), size_t(1));
    QCOMPARE(buffer[0], uint8_t(15));
    QCOMPARE(source.readAt(6, buffer), size_t(0));
    source.readZeroFilled(4, buffer);
    QCOMPARE(buffer, (std::array<uint8_t, 3>{14, 15, 0}));
}

void TestByteSource::fileThatIsNotThere() {
    QVERIFY_THROWS_EXCEPTION(RoutineError, FileSource(path("missing.wav")));
}

void TestByteSource::folderIsNoFile() {
    QVERIFY(QDir(m_dir->path()).mkdir("LOOP1"));
    QVERIFY_THROWS_EXCEPTION(RoutineError, FileSource(path("LOOP1")));
}

void TestByteSource::sinkWritesWithoutTruncating() {
    test::writeFile(path("out"), m_bytes);
    {
        FileSink sink(path("out"));
        const std::array<uint8_t, 2> patch{0xEE, 0xFF};
        sink.writeAt(1, patch);
        sink.close();
    }
    QCOMPARE(test::readFile(path("out")), (std::vector<uint8_t>{10, 0xEE, 0xFF, 13, 14, 15}));
}

void TestByteSource::sinkExtendsWithZeroGap() {
    {
        FileSink sink(path("new"));
        const std::array<uint8_t, 2> tail{1, 2};
        sink.writeAt(3, tail);
    }  // closed by the destructor
    QCOMPARE(test::readFile(path("new")), (std::vector<uint8_t>{0, 0, 0, 1, 2}));
}

void TestByteSource::sinkIntoMissingFolder() {
    QVERIFY_THROWS_EXCEPTION(RoutineError, FileSink(path("nowhere/track1.wav")));
}

QTEST_APPLESS_MAIN(TestByteSource)
#include "tst_bytesource.moc"
