#include "ArrangementRecord.h"

#include <exception>
#include <set>

#include "ByteSource.h"
#include "LoopFolderName.h"
#include "RoutineError.h"
#include "Sha256.h"

namespace brenvik::card {

namespace {

constexpr size_t kLargestRecord = 1 << 20;  // 999 places take a few hundred kilobytes

// One file per card, named after its path.
std::string recordPath(const Files& files, const std::string& card) {
    backup::Sha256 digest;
    digest.update(std::span(reinterpret_cast<const uint8_t*>(card.data()), card.size()));
    const std::string name = backup::Sha256::hex(digest.finish()).substr(0, 24);
    return files.userDataFolder() + "/Brenvik/arrangements/" + name + ".txt";
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    for (size_t at = 0;;) {
        const size_t tab = line.find('\t', at);
        fields.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
        if (tab == std::string::npos) return fields;
        at = tab + 1;
    }
}

std::string textOf(const ArrangementRecord& record) {
    std::string text = "what\t" + record.what + "\n";
    for (const RecordedPlace& p : record.places)
        text += "place\t" + p.place.card + "\t" + std::to_string(p.place.number) + "\t" + p.before + "\t" + p.after + "\n";
    for (const RecordedPlace& p : record.places)
        for (const std::string* field : {&p.place.card, &p.before, &p.after})
            if (field->find_first_of("\t\n") != std::string::npos)
                throw RoutineError(*field + " holds a tab or a line break, so it cannot be recorded");
    return text;
}

std::optional<ArrangementRecord> parse(const std::string& text) {
    ArrangementRecord record;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) return std::nullopt;  // cut short
        const std::vector<std::string> fields = fieldsOf(text.substr(at, end - at));
        at = end + 1;
        if (fields.size() == 2 && fields[0] == "what") {
            record.what = fields[1];
        } else if (fields.size() == 5 && fields[0] == "place") {
            const std::optional<int> number = loop::loopNumberOf("LOOP" + fields[2]);
            if (!number || fields[1].empty()) return std::nullopt;
            record.places.push_back({{fields[1], *number}, fields[3], fields[4]});
        } else {
            return std::nullopt;
        }
    }
    if (record.places.empty()) return std::nullopt;
    return record;
}

std::set<std::string> cardsOf(const ArrangementRecord& record) {
    std::set<std::string> cards;
    for (const RecordedPlace& p : record.places) cards.insert(p.place.card);
    return cards;
}

}  // namespace

void saveRecord(const ArrangementRecord& record, Files& files) {
    const std::string text = textOf(record);
    for (const std::string& card : cardsOf(record)) {
        const std::string path = recordPath(files, card);
        files.createFolders(Files::parentOf(path));
        // Written beside and then put in place, so a record is whole or not there.
        const std::string written = path + ".new";
        if (files.entryExists(written)) files.deleteFile(written);
        FileSink sink(written);
        sink.writeAt(0, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        sink.sync();
        sink.close();
        if (files.entryExists(path)) files.deleteFile(path);
        files.renameEntry(written, path);
    }
}

std::optional<ArrangementRecord> loadRecord(const std::string& card, const Files& files) {
    try {
        FileSource source(recordPath(files, card));
        if (source.size() > static_cast<int64_t>(kLargestRecord)) return std::nullopt;
        std::string text(static_cast<size_t>(source.size()), '\0');
        text.resize(source.readAt(0, std::span(reinterpret_cast<uint8_t*>(text.data()), text.size())));
        std::optional<ArrangementRecord> record = parse(text);
        if (record && !cardsOf(*record).count(card)) return std::nullopt;
        return record;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void forgetRecord(const ArrangementRecord& record, Files& files) {
    for (const std::string& card : cardsOf(record)) {
        const std::string path = recordPath(files, card);
        // A record a later arrangement of that card left is its own.
        const std::optional<ArrangementRecord> kept = loadRecord(card, files);
        if (kept && *kept == record)
            files.deleteFile(path);
    }
}

}  // namespace brenvik::card
