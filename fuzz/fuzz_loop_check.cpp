// The loop check and summary that `list`, `check` and the Card window run over whatever a card
// holds. The input becomes a loop folder LOOP7 on a card folder: its first byte says which of
// loopinfo.ldf and track1.wav to track4.wav exist (bits 0 to 4) and whether the description's
// check triples are made right before it is written (bit 5, so the fuzzer reaches what lies behind
// them); each file present then takes a record of a 16-bit content length, a 32-bit count of zero
// bytes behind the content (held sparse, so a file is as long as a size field likes at no cost)
// and the content, little-endian.
//
// Invariants: no crash; no allocation from a size field (the fuzz run stops at any allocation
// above 64 MiB, while a file may be 4 GiB long and its fields claim as much); the size on disk is
// the files' total and no length is negative; every problem names its file, field and what is
// wrong; the card's listing, which reads the folder again, and the JSON and table reports say the
// same of the loop; and a loop called intact has a description and a file for each chosen track
// and no other.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "CardFolder.h"
#include "CardListing.h"
#include "CardReport.h"
#include "Files.h"
#include "LoopContents.h"
#include "LoopDescription.h"
#include "LoopFolderName.h"
#include "LoopSummary.h"
#include "ScratchFolder.h"
#include "TrackFile.h"

namespace {

namespace fs = std::filesystem;
using namespace brenvik;

constexpr int kFiles = 5;  // loopinfo.ldf, then the four track files
constexpr uint8_t kStoreChecks = 1 << 5;

struct Card {
    fuzz::ScratchFolder scratch;
    fs::path loop = scratch.path() / "LOOP7";
    Card() { fs::create_directory(loop); }
};

std::string fileName(int index) {
    return index == 0 ? loop::kDescriptionFileName : loop::trackFileName(index);
}

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    uint64_t number(int bytes) {
        uint64_t value = 0;
        for (int i = 0; i < bytes && m_at < m_size; ++i) value |= uint64_t{m_data[m_at++]} << (8 * i);
        return value;
    }
    std::span<const uint8_t> take(size_t count) {
        count = std::min(count, m_size - m_at);
        m_at += count;
        return {m_data + m_at - count, count};
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

bool sameLoop(const card::LoopSummary& a, const card::LoopSummary& b) {
    return a.intact() == b.intact() && a.problemLines() == b.problemLines() && a.described == b.described &&
           a.tempo == b.tempo && a.beatCount == b.beatCount && a.beatsPerBar == b.beatsPerBar && a.division == b.division &&
           a.seconds == b.seconds && a.chosenTracks == b.chosenTracks && a.trackFiles == b.trackFiles &&
           a.sizeOnDisk == b.sizeOnDisk;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Card card;
    Input input(data, size);
    const auto present = static_cast<uint8_t>(input.number(1));
    int64_t total = 0;
    std::vector<int> trackFiles;
    for (int index = 0; index < kFiles; ++index) {
        const fs::path file = card.loop / fileName(index);
        if (!(present & (1 << index))) {
            fs::remove(file);
            continue;
        }
        const auto length = static_cast<size_t>(input.number(2));
        const uint64_t sparse = input.number(4);
        const std::span<const uint8_t> content = input.take(length);
        std::vector<uint8_t> bytes(content.begin(), content.end());
        if (index == 0 && (present & kStoreChecks) && bytes.size() >= loop::kDescriptionSize) {
            loop::Description description;
            std::copy_n(bytes.begin(), description.size(), description.begin());
            loop::storeCheckTriples(description);
            std::copy(description.begin(), description.end(), bytes.begin());
        }
        fuzz::ScratchFolder::write(file, bytes, sparse);
        total += static_cast<int64_t>(bytes.size() + sparse);
        if (index > 0) trackFiles.push_back(index);
    }

    const Files files;
    const card::LoopSummary loop = card::summarizeLoop(card::readLoopContents(files, card.loop.string()));
    if (loop.sizeOnDisk != total || loop.trackFiles != trackFiles || !(loop.seconds >= 0)) std::abort();
    for (const auto* found : {&loop.problems, &loop.warnings})
        for (const card::LoopProblem& problem : *found)
            if (problem.file.empty() || problem.field.empty() || problem.detail.empty() || problem.advice.empty())
                std::abort();
    if (loop.intact() && (!loop.described || loop.trackFiles != loop.chosenTracks)) std::abort();

    // `check` finds the loop from its own folder or from the card's; the card's listing reads the
    // folder again.
    if (card::loopFoldersOf(files, card.loop.string()).size() != 1 ||
        card::loopFoldersOf(files, card.scratch.path().string()).size() != 1)
        std::abort();
    std::ostringstream table, json;
    const card::CardListing listing = card::listCard(card.scratch.path().string(), files);
    if (listing.loops.size() != 1 || !sameLoop(listing.loops[0], loop)) std::abort();
    cli::writeListingTable(table, listing);
    cli::listingNode(listing).writeJson(json);
    for (const std::string& line : loop.problemLines())
        if (table.str().find(line) == std::string::npos) std::abort();
    if ((json.str().find(R"("check": "ok")") != std::string::npos) != loop.intact()) std::abort();
    return 0;
}
