#include "AudioImport.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>

#include "AudioConversion.h"
#include "ConvertedCache.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik {

namespace {

// The containers the converter is known to read, by their usual names.
const std::vector<std::string> kImportPatterns = {"*.wav", "*.aif", "*.aiff", "*.aifc", "*.flac"};

// The extension in lower case, with its dot.
std::string extensionOf(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

AudioImport failed(AudioImport import, std::string reason) {
    import.outcome = AudioImport::Outcome::Failed;
    import.message = message::notImported(import.source);
    import.icon = MessageIcon::Critical;
    import.reason = std::move(reason);
    return import;
}

}  // namespace

AudioImport examineImport(const std::string& source) {
    AudioImport import;
    import.source = source;
    const AudioProbe probe = probeAudio(source);
    if (!probe.info) return failed(import, probe.message);
    import.info = probe.info;
    if (!probe.info->needsConverting) {
        import.outcome = AudioImport::Outcome::AsItIs;
        import.wave = source;
    } else if (!probe.info->fitsLoop) {
        import.outcome = AudioImport::Outcome::Refused;
        import.message = loopTooLongMessage(source, *probe.info);
    } else {
        import.outcome = AudioImport::Outcome::NeedsConverting;
    }
    return import;
}

AudioImport convertImportTo(const AudioImport& examined, const std::string& target, Files& files,
                            const Progress& progress, double gainDb) {
    AudioImport import = examined;
    try {
        import.wave = target;
        const ConversionResult result = convertAudio({import.source, target, {}, gainDb}, files, progress);
        if (result.outcome == ConversionResult::Outcome::Failed) return failed(import, result.message);
        import.outcome = AudioImport::Outcome::Converted;
        import.nonFinite = result.nonFinite;
        import.clipped = result.clipped;
        import.peakDb = result.peakDb;
        import.excessDb = result.excessDb;
        import.gainDb = result.gainDb;
    } catch (const std::exception&) {
        return failed(import, caughtReason());
    }
    return import;
}

AudioImport convertImport(const AudioImport& examined, Files& files, const std::string& keep,
                          const Progress& progress, double gainDb) {
    std::string target;
    try {
        const ConvertedCache cache(files);
        files.createFolders(cache.folder());
        cache.removeOld(keep);
        target = cache.targetFor(examined.source);
    } catch (const std::exception&) {
        return failed(examined, caughtReason());
    }
    return convertImportTo(examined, target, files, progress, gainDb);
}

bool isImportableName(const std::string& path) {
    return std::ranges::find(kImportPatterns, "*" + extensionOf(path)) != kImportPatterns.end();
}

bool isWaveName(const std::string& path) { return extensionOf(path) == ".wav"; }

std::vector<FileFilter> importFilters() {
    return {{message::kImportableAudio, kImportPatterns}, {message::kAnyFile, {"*"}}};
}

}  // namespace brenvik
