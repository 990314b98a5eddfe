#include "LoopCheck.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <exception>

#include "ByteOrder.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "Numbers.h"
#include "TrackFile.h"
#include "TrackSizes.h"

namespace brenvik::card {

namespace {

using loop::Description;
namespace ldf = loop::ldf;

std::string hexBytes(const std::array<uint8_t, 3>& bytes) {
    char text[12];
    std::snprintf(text, sizeof text, "%02X %02X %02X", unsigned{bytes[0]}, unsigned{bytes[1]},
                  unsigned{bytes[2]});
    return text;
}

std::string num(long long value) { return intToText(value); }

class Checker {
public:
    explicit Checker(const LoopContents& contents) : m_contents(contents) {}

    std::vector<LoopProblem> run() {
        if (!m_contents.readable) {
            add("folder", "contents", "cannot be read");
            return m_problems;
        }
        if (!m_contents.descriptionSize) {
            add(loop::kDescriptionFileName, "file", "missing");
            return m_problems;
        }
        if (!m_contents.descriptionReadable) {
            add(loop::kDescriptionFileName, "file", "cannot be read");
            return m_problems;
        }
        if (*m_contents.descriptionSize != loop::kDescriptionSize) {
            // The fields cannot be trusted in a block of another size.
            add(loop::kDescriptionFileName, "size",
                num(*m_contents.descriptionSize) + " bytes, not " + num(loop::kDescriptionSize));
            return m_problems;
        }
        checkTriples();
        checkBitmaps();
        checkTracks();
        return m_problems;
    }

private:
    void add(std::string file, std::string field, std::string detail) {
        m_problems.push_back({std::move(file), std::move(field), std::move(detail)});
    }

    void checkTriples() {
        const Description& d = m_contents.description;
        struct Triple { const char* name; int first, last, at; };
        for (const Triple& t : {Triple{"check triple 1", ldf::kCheck1First, ldf::kCheck1Last, ldf::kCheck1At},
                                Triple{"check triple 2", ldf::kCheck2First, ldf::kCheck2Last, ldf::kCheck2At}}) {
            const auto stored = loop::storedCheckBytes(d, t.at);
            const auto expected = loop::checkBytes(d, t.first, t.last, t.at);
            if (stored != expected)
                add(loop::kDescriptionFileName, t.name, "stored " + hexBytes(stored) + ", expected " + hexBytes(expected));
        }
    }

    void checkBitmaps() {
        const Description& d = m_contents.description;
        for (int k = 1; k <= loop::kTrackFiles; ++k) {
            const int base = ldf::recordBase(k);
            const int clusters = readLeS16(&d[static_cast<size_t>(base + ldf::kClusters)]);
            int bits = 0;
            for (int at = base + ldf::kBitmap; at <= base + ldf::kBitmapEnd; ++at)
                bits += std::popcount(d[static_cast<size_t>(at)]);
            if (bits != clusters)
                add(loop::kDescriptionFileName, "track " + num(k) + " cluster bitmap",
                    num(bits) + " bits set, cluster count " + num(clusters));
        }
    }

    void checkTracks() {
        const std::vector<int> chosen = loop::chosenTracks(m_contents.description);
        for (int k = 1; k <= loop::kTrackFiles; ++k) {
            const auto& head = m_contents.tracks[static_cast<size_t>(k - 1)];
            const bool isChosen = std::find(chosen.begin(), chosen.end(), k) != chosen.end();
            const std::string file = loop::trackFileName(k);
            if (!isChosen) {
                if (head) add(file, "file", "present, but the description does not choose track " + num(k));
            } else if (!head) {
                add(file, "file", "missing (the description chooses track " + num(k) + ")");
            } else if (head->fileSize < 0) {
                add(file, "file", "cannot be read");
            } else {
                checkTrackHead(k, file, *head);
            }
        }
    }

    void checkTrackHead(int k, const std::string& file, const TrackFileHead& head) {
        const wave::Header& h = head.header;
        if (head.fileSize < wave::kHeaderSize) {
            add(file, "header", "the file holds only " + num(head.fileSize) + " bytes");
            return;
        }
        const auto tag = [&h](int at) { return std::string(reinterpret_cast<const char*>(&h[static_cast<size_t>(at)]), 4); };
        const size_t problemsBefore = m_problems.size();
        struct Tag { const char* field; int at; const char* expected; };
        for (const Tag& t : {Tag{"RIFF tag", 0, "RIFF"}, Tag{"form type", 8, "WAVE"},
                             Tag{"format chunk tag", 12, "fmt "}, Tag{"data chunk tag", wave::kDataTagOffset, "data"}})
            if (tag(t.at) != t.expected) add(file, t.field, "\"" + printable(tag(t.at)) + "\", not \"" + t.expected + "\"");
        struct Field { const char* field; long long value, expected; };
        for (const Field& f : {Field{"format tag", readLe16(&h[wave::kFormatTagOffset]), 1},
                               Field{"channels", readLe16(&h[wave::kChannelsOffset]), 1},
                               Field{"sample rate", readLe32(&h[wave::kSampleRateOffset]), wave::kSampleRate},
                               Field{"bits per sample", readLe16(&h[wave::kBitsOffset]), wave::kBitsPerSample}})
            if (f.value != f.expected) add(file, f.field, num(f.value) + ", not " + num(f.expected));
        if (m_problems.size() != problemsBefore) return;  // the sizes of a foreign header say nothing

        const int32_t dataSize = readLeS32(&h[wave::kDataSizeOffset]);
        if (dataSize < 0 || head.fileSize < wave::kHeaderSize + int64_t{dataSize}) {
            add(file, "data size", num(dataSize) + " bytes claimed, the file holds " +
                                       num(head.fileSize - wave::kHeaderSize));
            return;
        }
        // The track's own record says where its audio starts and ends; the data must hold it.
        const Description& d = m_contents.description;
        const int base = ldf::recordBase(k);
        const auto start = static_cast<int8_t>(d[static_cast<size_t>(base + ldf::kStartSector)]);
        const int16_t end = readLeS16(&d[static_cast<size_t>(base + ldf::kEndSector)]);
        TrackSizes sizes;
        try {
            sizes = deriveTrackSizes(start, end, dataSize);
        } catch (const std::exception&) {
            sizes.audio = -1;
        }
        if (!sizesAcceptable(sizes))
            add(file, "audio length",
                num(int64_t{dataSize} - preBufferSectors(start) * loop::kSectorBytes) +
                    " bytes behind the pre-buffer, end sector " + num(end) + " needs " +
                    num((int64_t{end} - start + 1) * loop::kSectorBytes));
    }

    static std::string printable(std::string text) {
        for (char& c : text)
            if (c < 0x20 || c > 0x7E) c = '?';
        return text;
    }

    const LoopContents& m_contents;
    std::vector<LoopProblem> m_problems;
};

}  // namespace

std::string LoopProblem::text() const { return file + ": " + field + ": " + detail; }

std::string LoopProblem::line(const std::string& loopName) const { return loopName + ": " + text(); }

std::vector<LoopProblem> checkLoop(const LoopContents& contents) { return Checker(contents).run(); }

}  // namespace brenvik::card
