#include "LoopContents.h"

#include <exception>

#include "ByteSource.h"
#include "Files.h"
#include "LoopContentHash.h"
#include "LoopFolderName.h"
#include "RoutineError.h"
#include "TrackFile.h"

namespace brenvik::card {

LoopContents readLoopContents(const Files& files, const std::string& folder) {
    return readLoopContents(files, LoopFolder{0, folder, files.isLink(folder), {}, {}});
}

LoopContents readLoopContents(const Files& files, const LoopFolder& loopFolder) {
    const std::string& folder = loopFolder.path;
    LoopContents contents;
    contents.folder = folder;
    contents.isLink = loopFolder.isLink;
    contents.twins = loopFolder.twins;
    contents.name = loop::lastFolderName(folder);
    contents.number = loop::loopNumberOf(contents.name).value_or(0);

    std::vector<FolderEntry> entries;
    try {
        entries = files.listFolder(folder);
    } catch (const std::exception&) {
        contents.readable = false;
        contents.unreadable = caughtReason();
        return contents;
    }
    contents.fingerprint = library::loopFingerprintOf(loopFolder.entry, entries);
    for (const FolderEntry& entry : entries) {
        if (entry.kind != FolderEntry::Kind::File) continue;
        contents.sizeOnDisk += entry.size;
        if (loop::sameNameOnCard(entry.name, loop::kDescriptionFileName) &&
            (!contents.descriptionSize || entry.name == loop::kDescriptionFileName)) {
            contents.descriptionSize = entry.size;
            contents.descriptionPath = entry.path;
            contents.descriptionIsLink = entry.isLink;
        }
        if (const int track = loop::trackOfFileName(entry.name)) {
            auto& head = contents.tracks[static_cast<size_t>(track - 1)];
            if (!head || entry.name == loop::trackFileName(track)) head = TrackFileHead{entry.path, entry.isLink, entry.size, {}};
        }
    }

    if (contents.descriptionSize) {
        try {
            FileSource source(contents.descriptionPath);
            source.readZeroFilled(0, contents.description);
            contents.descriptionReadable = true;
        } catch (const std::exception&) {
            contents.descriptionUnreadable = caughtReason();  // listed as unreadable by the check
        }
    }
    for (int k = 1; k <= loop::kTrackFiles; ++k) {
        auto& head = contents.tracks[static_cast<size_t>(k - 1)];
        if (!head) continue;
        try {
            FileSource source(head->path);
            source.readZeroFilled(0, head->header);
        } catch (const std::exception&) {
            head->fileSize = -1;  // present but unreadable
            head->unreadable = caughtReason();
        }
    }
    return contents;
}

}  // namespace brenvik::card
