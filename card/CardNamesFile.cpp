#include "CardNamesFile.h"

#include <exception>
#include <map>
#include <set>
#include <span>

#include "ByteSource.h"
#include "CardFolder.h"
#include "CardNames.h"
#include "CardTransaction.h"
#include "FolderLock.h"
#include "HashedCopy.h"
#include "LoopNames.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::card {

namespace {

constexpr std::string_view kFirstLine = "Brenvik loop names 1";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // what some editors put first

std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\') {
            out += text[at];
            continue;
        }
        if (++at == text.size()) return std::nullopt;
        switch (text[at]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

bool isHash(std::string_view text) {
    return text.size() == 32 &&
           text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::optional<LoopNameLine> lineOf(std::string_view line) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    const size_t second = line.find('\t', tab + 1);
    const std::string_view rest = line.substr(tab + 1);
    const std::optional<std::string> name = unescaped(rest.substr(0, second == std::string_view::npos ? rest.size() : second - tab - 1));
    const std::optional<std::string> notes =
        second == std::string_view::npos ? std::string() : unescaped(line.substr(second + 1));
    if (!isHash(line.substr(0, tab)) || !name || !notes || (name->empty() && notes->empty())) return std::nullopt;
    if (!name->empty() && library::nameRefusal(*name)) return std::nullopt;
    return LoopNameLine{std::string(line.substr(0, tab)), *name, *notes};
}

}  // namespace

std::string namesFileText(const std::vector<LoopNameLine>& loops) {
    std::string text = std::string(kFirstLine) + "\n";
    text += "# One loop a line: its content hash, a tab, its name, a tab, its notes.\n";
    for (const LoopNameLine& loop : loops)
        text += loop.hash + "\t" + escaped(loop.name) + (loop.notes.empty() ? "" : "\t" + escaped(loop.notes)) + "\n";
    return text;
}

std::optional<NamesFileContents> readNamesFileText(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    NamesFileContents contents;
    bool first = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);  // a file saved on Windows
        if (first) {
            if (line != kFirstLine) return std::nullopt;
            first = false;
        } else if (!line.empty() && !line.starts_with('#')) {
            if (std::optional<LoopNameLine> loop = lineOf(line))
                contents.loops.push_back(std::move(*loop));
            else
                ++contents.skipped;
        }
    }
    if (first) return std::nullopt;
    return contents;
}

NamesFileOutcome readNamesFromCard(const std::string& card, library::LoopLibrary& library, const Files& files) {
    NamesFileOutcome outcome;
    const std::string path = Files::joinPath(card, kNamesFileName);
    if (!files.entryExists(path)) {
        outcome.found = false;
        outcome.message = message::noNamesFile(card, kNamesFileName);
        return outcome;
    }
    std::string text;
    try {
        FileSource file(path, FileSource::Links::Refuse);
        if (file.size() > static_cast<int64_t>(kLargestNamesFile)) {
            outcome.message = message::namesFileTooLarge(path, kLargestNamesFile);
            return outcome;
        }
        text.resize(static_cast<size_t>(file.size()));
        text.resize(file.readAt(0, std::span(reinterpret_cast<uint8_t*>(text.data()), text.size())));
    } catch (const std::exception&) {
        outcome.message = message::namesFileForeign(path);
        outcome.reason = caughtReason();
        return outcome;
    }
    const std::optional<NamesFileContents> contents = readNamesFileText(text);
    if (!contents) {
        outcome.message = message::namesFileForeign(path);
        return outcome;
    }
    outcome.skipped = contents->skipped;
    std::vector<std::string> hashes;
    for (const LoopNameLine& loop : contents->loops) hashes.push_back(loop.hash);
    const std::map<std::string, library::LoopRecord> here = library.findAll(hashes);
    std::set<std::string> done;
    for (const LoopNameLine& loop : contents->loops) {
        if (!done.insert(loop.hash).second) continue;  // the first line of a loop counts
        const auto known = here.find(loop.hash);
        const bool named = known != here.end() && !known->second.name.empty();
        if (!loop.name.empty() && named && known->second.name != loop.name) ++outcome.kept;
        if (!loop.name.empty() && !named && library.rename(loop.hash, loop.name)) ++outcome.names;
        if (!loop.notes.empty() && (known == here.end() || known->second.notes.empty()))
            library.setNotes(loop.hash, loop.notes);
    }
    outcome.line = message::namesRead(outcome.names, outcome.kept, outcome.skipped, path);
    return outcome;
}

NamesFileOutcome writeNamesToCard(const std::string& card, library::LoopLibrary& library, Files& files,
                                  bool onlyWhenChanged) {
    NamesFileOutcome outcome;
    std::string path = Files::joinPath(card, kNamesFileName);
    try {
        const std::string absolute = files.absolutePath(card);
        path = Files::joinPath(absolute, kNamesFileName);
        if (!files.folderExists(absolute)) {
            outcome.message = message::destinationMissing(absolute);
            return outcome;
        }
        // The names are read again under the lock: a change finished there may have moved loops.
        const auto text = [&] {
            std::vector<std::string> folders;
            for (const LoopFolder& folder : loopFoldersIn(files, absolute))
                if (!folder.isLink) folders.push_back(folder.path);
            const std::map<std::string, library::NamedLoop> named =
                library::CardNames(library, absolute).all(folders);
            std::vector<LoopNameLine> loops;
            std::set<std::string> written;
            outcome.names = 0;
            for (const std::string& folder : folders) {  // in loop order, each content once
                const auto found = named.find(folder);
                if (found == named.end()) continue;
                const library::NamedLoop& loop = found->second;
                if (!loop.hash || (loop.name().empty() && loop.notes().empty()) || !written.insert(*loop.hash).second)
                    continue;
                loops.push_back({*loop.hash, loop.name(), loop.notes()});
                outcome.names += loop.name().empty() ? 0 : 1;
            }
            outcome.line = message::namesWritten(outcome.names, path);
            return namesFileText(loops);
        };
        // Without taking the card when the file says it all already.
        if (onlyWhenChanged && backup::readSmallText(path, kLargestNamesFile) == text()) return outcome;
        const std::optional<FolderLock> lock =
            FolderLock::take(absolute, FolderLock::Mode::Exclusive, FolderLock::kCardWait);
        if (!lock) {
            outcome.message = message::cardBusy(absolute);
            return outcome;
        }
        const Recovery recovery = recoverCard(files, absolute);
        if (recovery.failed()) {
            outcome.message = recovery.line;
            outcome.reason = recovery.reason;
            return outcome;
        }
        outcome.recovered = recovery.line;
        CardTransaction change(files, absolute, "write the loop names");
        change.placeFile(kNamesFileName, text());
        change.commit();
    } catch (const std::exception&) {
        outcome.line.clear();
        outcome.message = message::namesNotWritten(path);
        outcome.reason = caughtReason();
    }
    return outcome;
}

}  // namespace brenvik::card
