#include <QTest>

#include <optional>

#include "ByteWriter.h"
#include "ChunkWalk.h"

using namespace brenvik;
using test::ByteWriter;
using End = ChunkWalk::End;

Q_DECLARE_METATYPE(brenvik::ChunkWalk::End)

// The walk over a wave the program did not write: tags and sizes from offset 12, no pad bytes.
class TestChunkWalk : public QObject {
    Q_OBJECT
private slots:
    void walk_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<End>("end");
        QTest::addColumn<int>("steps");      // for Broken only bounded: found out quickly, not by running round
        QTest::addColumn<int>("fmtOffset");  // -1: no "fmt " met
        QTest::addColumn<int>("dataTag");    // this and the rest checked when the end is Data
        QTest::addColumn<int>("dataSize");
        QTest::addColumn<QList<int>>("fields");  // channels, rate and bits as the opener reads them
        auto row = [](const char* name, const ByteWriter& w, End end, int steps, int fmt, int tag = 0,
                      int size = 0, QList<int> fields = {}) {
            QTest::newRow(name) << QByteArray(reinterpret_cast<const char*>(w.bytes().data()), qsizetype(w.size()))
                                << end << steps << fmt << tag << size << fields;
        };
        const QList<int> mono{1, 44100, 16};
        auto monoStart = [] {  // the RIFF header and a mono "fmt " chunk: the next chunk at 36
            ByteWriter w;
            w.riffHeader().fmtChunk(1, 44100, 16);
            return w;
        };
        row("canonical", ByteWriter().riffHeader(36 + 8).fmtChunk(2, 44100, 16).tag("data").le32(8).fill(8),
            End::Data, 2, 12, 36, 8, {2, 44100, 16});
        row("extra chunk between", monoStart().tag("LIST").le32(26).fill(26, 'x').tag("data").le32(4).fill(4),
            End::Data, 3, 12, 36 + 8 + 26, 4, mono);
        // The next tag follows directly after the third body byte.
        row("odd chunk without pad byte", monoStart().tag("odd ").le32(3).fill(3, 0xAB).tag("data").le32(2).fill(2),
            End::Data, 3, 12, 36 + 8 + 3, 2, mono);
        // Plain RIFF pads the body to an even length; the walk reads the next tag one byte early,
        // takes 00 "dat" as a tag and "a" 08 00 00 (2145) as its size, and runs past the end.
        row("odd chunk with pad byte misses data",
            monoStart().tag("odd ").le32(3).fill(3, 0xAB).fill(1).tag("data").le32(8).fill(8),
            End::EndOfFile, 3, 12);
        row("later fmt replaces earlier", ByteWriter().riffHeader().fmtChunk(1, 22050, 8).fmtChunk(2, 44100, 16)
            .tag("data").le32(0), End::Data, 3, 36, 60, 0, {2, 44100, 16});
        // With no "fmt " met, the fields come from offsets 9, 11 and 21 as if the tag stood at -1:
        // channels from "AV" of WAVE, the rate from "E" and "dat", the bits from the data body.
        row("data before fmt", ByteWriter().riffHeader().tag("data").le32(16).fill(1).le16(0x1234).fill(13)
            .fmtChunk(1, 44100, 16), End::Data, 1, -1, 12, 16,
            {'A' | ('V' << 8), 'E' | ('d' << 8) | ('a' << 16) | ('t' << 24), 0x1234});
        // An empty "fmt " chunk right before the data header of a 28-byte file: the bits at fmt + 22
        // lie past the end and read 0, the channels are "ta" of the data tag, the rate its size.
        row("fields past the end read zero", ByteWriter().riffHeader().tag("fmt ").le32(0).tag("data").le32(0),
            End::Data, 2, 12, 20, 0, {'t' | ('a' << 8), 0, 0});
        // A complete size field is no end of file, even when it promises bytes that are not there.
        row("size field ending at the end", monoStart().tag("data").le32(1000), End::Data, 2, 12, 36, 1000, mono);
        // 12 "fmt " -> 36 "jump" forward by 100 -> 144 "back" to 60, where a data tag waits inside
        // the jumped-over body.
        ByteWriter backward = monoStart().tag("jump").le32(100);
        backward.fill(60 - backward.size()).tag("data").le32(4);
        backward.fill(144 - backward.size()).tag("back").le32(60 - 144 - 8).fill(8);
        row("backward size is followed", backward, End::Data, 4, 12, 60, 4, mono);
        // A size that fits the offsets but lies far beyond the file: the next read finds nothing.
        row("huge size", ByteWriter().riffHeader().tag("big ").le32(0x7FFFFF00).fill(8), End::EndOfFile, 1, -1);
        for (int length : {0, 12, 14, 16, 18, 30, 40, 43}) {
            const ByteWriter cut = monoStart().tag("data").le32(0);
            QTest::addRow("cut to %d bytes", length)
                << QByteArray(reinterpret_cast<const char*>(cut.bytes().data()), length) << End::EndOfFile
                << (length < 20 ? 0 : 1) << (length < 20 ? -1 : 12) << 0 << 0 << QList<int>{};
        }
        // Size -8 points the next tag back at itself.
        row("self loop", ByteWriter().riffHeader().tag("loop").le32(-8).fill(20), End::Broken, 0, -1);
        // 12 -> 0 ("RIFF" with size 4) -> 12 -> ...
        row("loop through the RIFF header", ByteWriter().riffHeader(4).tag("back").le32(-20).fill(8),
            End::Broken, 0, -1);
        // Offset 0 is a chunk like any other: 12 -> 0 ("RIFF" with size 32) -> 40, the data.
        row("through the RIFF header to data", ByteWriter().riffHeader(32).tag("back").le32(-20).fill(20)
            .tag("data").le32(4).fill(4), End::Data, 3, -1, 40, 4,
            {'A' | ('V' << 8), 'E' | ('b' << 8) | ('a' << 16) | ('c' << 24), 0});
        // 12 "fmt " -> 36 -> 50 -> 64 -> back to 36: a cycle that the walk enters late.
        row("longer cycle", monoStart().tag("aaaa").le32(6).fill(6).tag("bbbb")
            .le32(6).fill(6).tag("cccc").le32(36 - 64 - 8).fill(8), End::Broken, 0, 12);
        row("before the start", ByteWriter().riffHeader().tag("neg ").le32(-1000).fill(8), End::Broken, 0, -1);
        // 12 + 8 + 0x7FFFFFF0 leaves the 32-bit offsets.
        row("past 2^31", ByteWriter().riffHeader().tag("big ").le32(0x7FFFFFF0).fill(8), End::Broken, 0, -1);
    }

    void walk() {
        QFETCH(QByteArray, bytes);
        QFETCH(End, end);
        QFETCH(int, steps);
        QFETCH(int, fmtOffset);
        QFETCH(int, dataTag);
        QFETCH(int, dataSize);
        QFETCH(QList<int>, fields);
        const std::vector<uint8_t> data(bytes.begin(), bytes.end());
        MemorySource source(data);
        const ChunkWalk c = walkChunks(source);
        QCOMPARE(c.end, end);
        if (end == End::Broken)
            QVERIFY(c.steps < 100);
        else
            QCOMPARE(c.steps, steps);
        QCOMPARE(c.fmtOffset, fmtOffset < 0 ? std::nullopt : std::optional<int32_t>(fmtOffset));
        if (end != End::Data) return;
        QCOMPARE(c.dataTagOffset, dataTag);
        QCOMPARE(c.dataStart(), dataTag + 8);
        QCOMPARE(c.dataSize, dataSize);
        const WaveFormatFields f = readFormatFields(source, c);
        QCOMPARE((QList<int>{f.channels, f.sampleRate, f.bitsPerSample}), fields);
    }

};

QTEST_APPLESS_MAIN(TestChunkWalk)
#include "tst_chunkwalk.moc"
