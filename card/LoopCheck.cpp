#include "LoopCheck.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <iterator>

#include "ByteOrder.h"
#include "LoopFolderName.h"
#include "LoopLayout.h"
#include "Messages.h"
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

// The system's reason in brackets behind it, so that the advice after it still reads as its own.
std::string cannotBeRead(const std::string& reason) {
    return reason.empty() ? "cannot be read" : "cannot be read (" + reason + ")";
}


class Checker {
public:
    explicit Checker(const LoopContents& contents) : m_contents(contents) {}

    std::vector<LoopProblem> run() {
        // What the Repeater cannot find comes first; the contents are checked all the same.
        if (m_contents.isLink) addLink("folder");
        if (!m_contents.twins.empty())
            add("folder", "name", message::oneNameOnCard(m_contents.twins), message::kOneNameAdvice);
        if (!m_contents.readable) {
            add("folder", "contents", cannotBeRead(m_contents.unreadable), message::kFolderUnreadableAdvice);
            return m_problems;
        }
        if (!m_contents.descriptionSize) {
            add(loop::kDescriptionFileName, "file", "missing", message::kDescriptionAdvice);
            return m_problems;
        }
        if (!m_contents.descriptionReadable) {
            add(loop::kDescriptionFileName, "file", cannotBeRead(m_contents.descriptionUnreadable), message::kDescriptionAdvice);
            return m_problems;
        }
        if (m_contents.descriptionIsLink) addLink(loop::kDescriptionFileName);
        if (*m_contents.descriptionSize != loop::kDescriptionSize) {
            // The fields cannot be trusted in a block of another size.
            add(loop::kDescriptionFileName, "size",
                num(*m_contents.descriptionSize) + " bytes, not " + num(loop::kDescriptionSize),
                message::kDescriptionAdvice);
            return m_problems;
        }
        checkTriples();
        checkBitmaps();
        checkTracks();
        return m_problems;
    }

private:
    void add(std::string file, std::string field, std::string detail, std::string advice, int track = 0) {
        m_problems.push_back({std::move(file), std::move(field), std::move(detail), std::move(advice), track});
    }

    // Read through the link here, but not by the Repeater; an export reads it as this check does.
    void addLink(std::string file) { add(std::move(file), "kind", message::kLinkNotFile, message::kOnlyFilesAdvice); }

    void checkTriples() {
        const Description& d = m_contents.description;
        struct Triple { const char* name; int first, last, at; };
        for (const Triple& t : {Triple{"check triple 1", ldf::kCheck1First, ldf::kCheck1Last, ldf::kCheck1At},
                                Triple{"check triple 2", ldf::kCheck2First, ldf::kCheck2Last, ldf::kCheck2At}}) {
            const auto stored = loop::storedCheckBytes(d, t.at);
            const auto expected = loop::checkBytes(d, t.first, t.last, t.at);
            if (stored != expected)
                add(loop::kDescriptionFileName, t.name, "stored " + hexBytes(stored) + ", expected " + hexBytes(expected),
                    message::kCheckBytesAdvice);
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
                    num(bits) + " bits set, cluster count " + num(clusters), message::kBitmapAdvice);
        }
    }

    void checkTracks() {
        const std::vector<int> chosen = loop::chosenTracks(m_contents.description);
        for (int k = 1; k <= loop::kTrackFiles; ++k) {
            const auto& head = m_contents.tracks[static_cast<size_t>(k - 1)];
            const bool isChosen = std::find(chosen.begin(), chosen.end(), k) != chosen.end();
            const std::string file = loop::trackFileName(k);
            if (head && head->isLink) addLink(file);
            if (!isChosen) {
                if (head)
                    add(file, "file", "present, but the description does not choose track " + num(k),
                        message::kStrayTrackAdvice);
            } else if (!head) {
                add(file, "file", "missing (the description chooses track " + num(k) + ")",
                    message::kMissingTrackAdvice, k);
            } else if (head->fileSize < 0) {
                add(file, "file", cannotBeRead(head->unreadable), message::kMissingTrackAdvice, k);
            } else {
                checkTrackHead(k, file, *head);
            }
        }
    }

    void checkTrackHead(int k, const std::string& file, const TrackFileHead& head) {
        const wave::Header& h = head.header;
        if (head.fileSize < wave::kHeaderSize) {
            add(file, "header", "the file holds only " + num(head.fileSize) + " bytes", message::kTrackHeaderAdvice, k);
            return;
        }
        const auto tag = [&h](int at) { return std::string(reinterpret_cast<const char*>(&h[static_cast<size_t>(at)]), 4); };
        const size_t problemsBefore = m_problems.size();
        struct Tag { const char* field; int at; const char* expected; };
        for (const Tag& t : {Tag{"RIFF tag", 0, "RIFF"}, Tag{"form type", 8, "WAVE"},
                             Tag{"format chunk tag", 12, "fmt "}, Tag{"data chunk tag", wave::kDataTagOffset, "data"}})
            if (tag(t.at) != t.expected)
                add(file, t.field, "\"" + printable(tag(t.at)) + "\", not \"" + t.expected + "\"",
                    message::kTrackHeaderAdvice, k);
        struct Field { const char* field; long long value, expected; };
        for (const Field& f : {Field{"format tag", readLe16(&h[wave::kFormatTagOffset]), 1},
                               Field{"channels", readLe16(&h[wave::kChannelsOffset]), 1},
                               Field{"sample rate", readLe32(&h[wave::kSampleRateOffset]), wave::kSampleRate},
                               Field{"bits per sample", readLe16(&h[wave::kBitsOffset]), wave::kBitsPerSample}})
            if (f.value != f.expected)
                add(file, f.field, num(f.value) + ", not " + num(f.expected), message::kTrackHeaderAdvice, k);
        if (m_problems.size() != problemsBefore) return;  // the sizes of a foreign header say nothing

        // The track's own record says where its audio starts and ends; the data must hold it.
        const int32_t dataSize = readLeS32(&h[wave::kDataSizeOffset]);
        const Description& d = m_contents.description;
        const auto start = static_cast<int8_t>(d[static_cast<size_t>(ldf::recordBase(k) + ldf::kStartSector)]);
        const int32_t end = loop::writtenEndSector(d, k);
        const int64_t pre = int64_t{preBufferSectors(start)} * loop::kSectorBytes;
        const int64_t needed = (int64_t{end} - start + 1) * loop::kSectorBytes;
        const int64_t inFile = head.fileSize - wave::kHeaderSize;
        const int64_t held = std::clamp<int64_t>(std::min<int64_t>(dataSize, inFile) - pre, 0, std::max<int64_t>(needed, 0));
        const std::string shortAdvice = message::holdsOfLoop(seconds(held), seconds(needed)) + ": " +
                                        message::silenceAfter(seconds(held));
        if (dataSize < 0 || inFile < dataSize) {
            add(file, "data size", num(dataSize) + " bytes claimed, the file holds " + num(inFile),
                held < needed ? shortAdvice : message::kTrackTailAdvice, k);
        } else if (needed < 0) {
            add(file, "audio length", "end sector " + num(end) + " lies before start sector " + num(start),
                message::kTrackRefusedAdvice, k);
        } else if (held < needed) {
            add(file, "audio length",
                message::holdsOfLoop(seconds(held), seconds(needed)) + " (" + num(held) + " of " + num(needed) +
                    " bytes behind the pre-buffer)",
                message::silenceAfter(seconds(held)), k);
        }
    }

    static double seconds(int64_t trackBytes) { return static_cast<double>(trackBytes) / loop::kTrackBytesPerSecond; }

    static std::string printable(std::string text) {
        for (char& c : text)
            if (c < 0x20 || c > 0x7E) c = '?';
        return text;
    }

    const LoopContents& m_contents;
    std::vector<LoopProblem> m_problems;
};

}  // namespace

std::string LoopProblem::text() const {
    return file + ": " + field + ": " + detail + (advice.empty() ? "" : ": " + advice);
}

std::string LoopProblem::line(const std::string& loopName) const { return loopName + ": " + text(); }

std::vector<LoopProblem> checkLoop(const LoopContents& contents) { return Checker(contents).run(); }

std::vector<LoopProblem> trackProblems(const std::vector<LoopProblem>& problems) {
    std::vector<LoopProblem> ofTracks;
    std::copy_if(problems.begin(), problems.end(), std::back_inserter(ofTracks),
                 [](const LoopProblem& problem) { return problem.track != 0; });
    return ofTracks;
}

}  // namespace brenvik::card
