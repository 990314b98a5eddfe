#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include "ByteWriter.h"
#include "ChunkWalk.h"
#include "TestFiles.h"

using namespace brenvik;
using test::ByteWriter;

Q_DECLARE_METATYPE(brenvik::ChunkWalk::End)

namespace {

ChunkWalk walk(const ByteWriter& w) {
    MemorySource source(w.bytes());
    return walkChunks(source);
}

WaveFormatFields fieldsOf(const ByteWriter& w, const ChunkWalk& c) {
    MemorySource source(w.bytes());
    return readFormatFields(source, c);
}

bool sameFields(const WaveFormatFields& f, int16_t channels, int32_t rate, int16_t bits) {
    return f.channels == channels && f.sampleRate == rate && f.bitsPerSample == bits;
}

}  // namespace

// The walk over a wave the program did not write: tags and sizes from offset 12, no pad bytes.
class TestChunkWalk : public QObject {
    Q_OBJECT
private slots:
    void canonicalHeader();
    void extraChunkBetween();
    void oddChunkWithoutPadByte();
    void oddChunkWithPadByteMissesData();
    void laterFmtReplacesEarlier();
    void dataBeforeFmt();
    void fieldsPastTheEndReadZero();
    void truncated_data();
    void truncated();
    void sizeFieldEndingAtEndOfFile();
    void backwardSizeIsFollowed();
    void brokenWalks_data();
    void brokenWalks();
    void hugeSizeEndsAtEndOfFile();
    void scanForData();
    void realFile();
};

void TestChunkWalk::canonicalHeader() {
    ByteWriter w;
    w.riffHeader(36 + 8).fmtChunk(2, 44100, 16).tag("data").le32(8).fill(8);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::Data);
    QCOMPARE(c.fmtOffset, std::optional<int32_t>(12));
    QCOMPARE(c.dataTagOffset, 36);
    QCOMPARE(c.dataStart(), 44);
    QCOMPARE(c.dataSize, 8);
    QCOMPARE(c.steps, 2);
    QVERIFY(sameFields(fieldsOf(w, c), 2, 44100, 16));
}

void TestChunkWalk::extraChunkBetween() {
    ByteWriter w;
    w.riffHeader().fmtChunk(1, 44100, 16).tag("LIST").le32(26).fill(26, 'x').tag("data").le32(4).fill(4);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::Data);
    QCOMPARE(c.dataTagOffset, 36 + 8 + 26);
    QCOMPARE(c.steps, 3);
}

void TestChunkWalk::oddChunkWithoutPadByte() {
    // The next tag follows directly after the third body byte.
    ByteWriter w;
    w.riffHeader().fmtChunk(1, 44100, 16).tag("odd ").le32(3).fill(3, 0xAB).tag("data").le32(2).fill(2);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::Data);
    QCOMPARE(c.dataTagOffset, 36 + 8 + 3);
}

void TestChunkWalk::oddChunkWithPadByteMissesData() {
    // Plain RIFF pads the body to an even length; the walk reads the next tag one byte early,
    // takes 00 "dat" as a tag and "a" 08 00 00 (2145) as its size, and runs past the end.
    ByteWriter w;
    w.riffHeader().fmtChunk(1, 44100, 16).tag("odd ").le32(3).fill(3, 0xAB).fill(1).tag("data").le32(8).fill(8);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::EndOfFile);
    QCOMPARE(c.steps, 3);
}

void TestChunkWalk::laterFmtReplacesEarlier() {
    ByteWriter w;
    w.riffHeader().fmtChunk(1, 22050, 8).fmtChunk(2, 44100, 16).tag("data").le32(0);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.fmtOffset, std::optional<int32_t>(36));
    QVERIFY(sameFields(fieldsOf(w, c), 2, 44100, 16));
}

void TestChunkWalk::dataBeforeFmt() {
    // With no "fmt " met, the fields come from offsets 9, 11 and 21 as if the tag stood at -1:
    // channels from "AV" of WAVE, the rate from "E" and "dat", the bits from the data body.
    ByteWriter w;
    w.riffHeader().tag("data").le32(16).fill(1).le16(0x1234).fill(13).fmtChunk(1, 44100, 16);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::Data);
    QVERIFY(!c.fmtOffset.has_value());
    QCOMPARE(c.dataStart(), 20);
    QVERIFY(sameFields(fieldsOf(w, c), int16_t('A' | ('V' << 8)),
                       int32_t('E' | ('d' << 8) | ('a' << 16) | ('t' << 24)), int16_t(0x1234)));
}

void TestChunkWalk::fieldsPastTheEndReadZero() {
    // An empty "fmt " chunk right before the data header: the bits field at fmt + 22 lies
    // beyond the end of this 28-byte file and reads 0; the channels at fmt + 10 are "ta" of
    // the data tag and the rate at fmt + 12 is the data size, 0.
    ByteWriter w;
    w.riffHeader().tag("fmt ").le32(0).tag("data").le32(0);
    QCOMPARE(int(w.size()), 28);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::Data);
    QVERIFY(sameFields(fieldsOf(w, c), int16_t('t' | ('a' << 8)), 0, 0));
}

void TestChunkWalk::truncated_data() {
    QTest::addColumn<int>("length");
    QTest::newRow("nothing") << 0;
    QTest::newRow("RIFF header only") << 12;
    QTest::newRow("half a tag") << 14;
    QTest::newRow("tag without size") << 16;
    QTest::newRow("tag and half a size") << 18;
    QTest::newRow("fmt body cut") << 30;
    QTest::newRow("data tag without size") << 40;
    QTest::newRow("data size cut by one byte") << 43;
}

void TestChunkWalk::truncated() {
    QFETCH(int, length);
    ByteWriter w;
    w.riffHeader().fmtChunk(1, 44100, 16).tag("data").le32(0);
    std::vector<uint8_t> bytes = w.bytes();
    bytes.resize(static_cast<size_t>(length));
    MemorySource source(bytes);
    QCOMPARE(walkChunks(source).end, ChunkWalk::End::EndOfFile);
}

void TestChunkWalk::sizeFieldEndingAtEndOfFile() {
    // The data size field is complete, so this is no end-of-file case, even though the size
    // promises bytes that are not there.
    ByteWriter w;
    w.riffHeader().fmtChunk(1, 44100, 16).tag("data").le32(1000);
    QCOMPARE(int(w.size()), 44);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::Data);
    QCOMPARE(c.dataSize, 1000);
}

void TestChunkWalk::backwardSizeIsFollowed() {
    // 12 "fmt " -> 36 "jump" forward by 100 -> 144 "back" to 60, where a data tag waits inside
    // the jumped-over body.
    ByteWriter w;
    w.riffHeader().fmtChunk(1, 44100, 16).tag("jump").le32(100);
    w.fill(60 - w.size()).tag("data").le32(4);
    w.fill(144 - w.size()).tag("back").le32(60 - 144 - 8).fill(8);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::Data);
    QCOMPARE(c.dataTagOffset, 60);
    QCOMPARE(c.dataSize, 4);
    QCOMPARE(c.steps, 4);
}

void TestChunkWalk::brokenWalks_data() {
    QTest::addColumn<QByteArray>("bytes");
    auto row = [](const char* name, const ByteWriter& w) {
        QTest::newRow(name) << QByteArray(reinterpret_cast<const char*>(w.bytes().data()),
                                          static_cast<qsizetype>(w.size()));
    };
    // Size -8 points the next tag back at itself.
    row("self loop", ByteWriter().riffHeader().tag("loop").le32(-8).fill(20));
    // 12 -> 0 ("RIFF" with size 4) -> 12 -> ...
    row("loop through the RIFF header", ByteWriter().riffHeader(4).tag("back").le32(-20).fill(8));
    // 12 "fmt " -> 36 -> 50 -> 64 -> back to 36: a cycle that the walk enters late.
    ByteWriter longCycle;
    longCycle.riffHeader().fmtChunk(1, 44100, 16).tag("aaaa").le32(6).fill(6).tag("bbbb").le32(6).fill(6)
        .tag("cccc").le32(36 - 64 - 8).fill(8);
    row("longer cycle", longCycle);
    row("before the start", ByteWriter().riffHeader().tag("neg ").le32(-1000).fill(8));
    // 12 + 8 + 0x7FFFFFF0 leaves the 32-bit offsets.
    row("past 2^31", ByteWriter().riffHeader().tag("big ").le32(0x7FFFFFF0).fill(8));
}

void TestChunkWalk::brokenWalks() {
    QFETCH(QByteArray, bytes);
    const std::vector<uint8_t> data(bytes.begin(), bytes.end());
    MemorySource source(data);
    const ChunkWalk c = walkChunks(source);
    QCOMPARE(c.end, ChunkWalk::End::Broken);
    QVERIFY(c.steps < 100);  // found out quickly, not by running round
}

void TestChunkWalk::hugeSizeEndsAtEndOfFile() {
    // A size that fits the offsets but lies far beyond the file: the next read finds nothing.
    ByteWriter w;
    w.riffHeader().tag("big ").le32(0x7FFFFF00).fill(8);
    const ChunkWalk c = walk(w);
    QCOMPARE(c.end, ChunkWalk::End::EndOfFile);
    QCOMPARE(c.steps, 1);
}

void TestChunkWalk::scanForData() {
    ByteWriter w;
    w.riffHeader().fmtChunk(2, 44100, 16).tag("LIST").le32(5).fill(5).tag("data").le32(12).fill(12);
    MemorySource source(w.bytes());
    const std::optional<DataChunk> data = brenvik::scanForData(source);
    QVERIFY(data.has_value());
    QCOMPARE(data->dataStart, 36 + 8 + 5 + 8);
    QCOMPARE(data->dataSize, 12);

    std::vector<uint8_t> cut = w.bytes();
    cut.resize(40);
    MemorySource cutSource(cut);
    QVERIFY(!brenvik::scanForData(cutSource).has_value());
}

void TestChunkWalk::realFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string path = dir.filePath("in.wav").toStdString();
    ByteWriter w;
    w.riffHeader().fmtChunk(2, 44100, 16).tag("LIST").le32(3).fill(3).tag("data").le32(8).fill(8, 0x11);
    test::writeFile(path, w.bytes());
    FileSource source(path);
    const ChunkWalk c = walkChunks(source);
    QCOMPARE(c.end, ChunkWalk::End::Data);
    QCOMPARE(c.dataStart(), 36 + 8 + 3 + 8);
    QCOMPARE(readFormatFields(source, c).channels, int16_t(2));
}

QTEST_APPLESS_MAIN(TestChunkWalk)
#include "tst_chunkwalk.moc"
