#include "ArrangementHistory.h"

#include <algorithm>
#include <exception>
#include <set>

#include "ByteSource.h"
#include "LoopFolderName.h"
#include "RoutineError.h"
#include "Sha256.h"

namespace brenvik::card {

namespace {

// 999 places take a few hundred kilobytes; the oldest records go first beyond either limit.
constexpr size_t kLargestHistory = 8 << 20;
constexpr size_t kMostRecords = 100;

// One file per card, named after its path.
std::string historyPath(const Files& files, const std::string& card) {
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
    for (const RecordedPlace& p : record.places)
        for (const std::string* field : {&p.place.card, &p.before, &p.after})
            if (field->find_first_of("\t\n") != std::string::npos)
                throw RoutineError(*field + " holds a tab or a line break, so it cannot be recorded");
    std::string text = "what\t" + record.what + "\n";
    for (const RecordedPlace& p : record.places)
        text += "place\t" + p.place.card + "\t" + std::to_string(p.place.number) + "\t" + p.before + "\t" + p.after + "\n";
    return text;
}

// Every record as its own text, so that the oldest can be left out until the whole fits.
std::string textOf(const ArrangementHistory& history) {
    std::vector<std::string> records;
    size_t size = 0;
    for (const ArrangementRecord& record : history.records) size += records.emplace_back(textOf(record)).size();
    size_t first = 0;
    while (records.size() - first > kMostRecords || (size > kLargestHistory && first + 1 < records.size()))
        size -= records[first++].size();
    std::string text = "done\t" + std::to_string(history.done - std::min(first, history.done)) + "\n";
    for (size_t i = first; i < records.size(); ++i) text += records[i];
    return text;
}

// A history written before histories were kept holds one record and no "done" line.
std::optional<ArrangementHistory> parse(const std::string& text) {
    ArrangementHistory history;
    std::optional<size_t> done;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) return std::nullopt;  // cut short
        const std::vector<std::string> fields = fieldsOf(text.substr(at, end - at));
        const bool first = at == 0;
        at = end + 1;
        if (first && fields.size() == 2 && fields[0] == "done") {
            if (fields[1].empty() || fields[1].find_first_not_of("0123456789") != std::string::npos ||
                fields[1].size() > 6)
                return std::nullopt;
            done = std::stoul(fields[1]);
        } else if (fields.size() == 2 && fields[0] == "what") {
            history.records.push_back({fields[1], {}});
        } else if (fields.size() == 5 && fields[0] == "place" && !history.records.empty()) {
            const std::optional<int> number = loop::loopNumberOf("LOOP" + fields[2]);
            if (!number || fields[1].empty()) return std::nullopt;
            history.records.back().places.push_back({{fields[1], *number}, fields[3], fields[4]});
        } else {
            return std::nullopt;
        }
    }
    for (const ArrangementRecord& record : history.records)
        if (record.places.empty()) return std::nullopt;
    history.done = done.value_or(history.records.size());
    if (history.done > history.records.size()) return std::nullopt;
    return history;
}

std::set<std::string> cardsOf(const ArrangementRecord& record) {
    std::set<std::string> cards;
    for (const RecordedPlace& p : record.places) cards.insert(p.place.card);
    return cards;
}

void saveHistory(const std::string& card, const ArrangementHistory& history, Files& files) {
    const std::string text = textOf(history);
    const std::string path = historyPath(files, card);
    files.createFolders(Files::parentOf(path));
    // Written beside and then put in place, so a history is whole or not there.
    const std::string written = path + ".new";
    if (files.entryExists(written)) files.deleteFile(written);
    FileSink sink(written);
    sink.writeAt(0, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    sink.sync();
    sink.close();
    if (files.entryExists(path)) files.deleteFile(path);
    files.renameEntry(written, path);
}

}  // namespace

void saveRecord(const ArrangementRecord& record, Files& files) {
    textOf(record);  // one that cannot be kept is refused before any card's history changes
    for (const std::string& card : cardsOf(record)) {
        ArrangementHistory history = loadHistory(card, files);
        history.records.resize(history.done);
        history.records.push_back(record);
        history.done = history.records.size();
        saveHistory(card, history, files);
    }
}

ArrangementHistory loadHistory(const std::string& card, const Files& files) {
    try {
        FileSource source(historyPath(files, card));
        if (source.size() > static_cast<int64_t>(kLargestHistory + (1 << 20))) return {};
        std::string text(static_cast<size_t>(source.size()), '\0');
        text.resize(source.readAt(0, std::span(reinterpret_cast<uint8_t*>(text.data()), text.size())));
        std::optional<ArrangementHistory> history = parse(text);
        if (!history) return {};
        // A record that does not name the card is not its own.
        for (const ArrangementRecord& record : history->records)
            if (!cardsOf(record).count(card)) return {};
        return *history;
    } catch (const std::exception&) {
        return {};
    }
}

void stepPast(const ArrangementRecord& record, bool undone, Files& files) {
    for (const std::string& card : cardsOf(record)) {
        ArrangementHistory history = loadHistory(card, files);
        // A card changed by a later arrangement of its own keeps its history as it is.
        const ArrangementRecord* next = undone ? history.toUndo() : history.toRedo();
        if (!next || *next != record) continue;
        history.done = undone ? history.done - 1 : history.done + 1;
        saveHistory(card, history, files);
    }
}

}  // namespace brenvik::card
