#include "CardEject.h"

#include <chrono>
#include <exception>
#include <optional>

#include "CardTransaction.h"
#include "FolderLock.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik::card {

CardEjection ejectCard(Files& files, const std::string& card, const VolumeEjector& ejectVolume) {
    CardEjection ejection;
    std::string folder;
    try {
        folder = files.absolutePath(card);
        const std::optional<FolderLock> lock =
            FolderLock::take(folder, FolderLock::Mode::Exclusive, std::chrono::milliseconds(0));
        if (!lock) {
            ejection.line = message::ejectWhileChanging(card);
            return ejection;
        }
        const Recovery recovery = recoverCard(files, folder);
        ejection.recovered = recovery.line;
        if (recovery.failed()) {
            ejection.line = message::cardNotEjected(card);
            ejection.reason = recovery.reason;
            return ejection;
        }
    } catch (const std::exception&) {
        ejection.line = message::cardNotEjected(card);
        ejection.reason = caughtReason();
        return ejection;
    }

    const VolumeEjection volume = ejectVolume(folder);
    ejection.ejected = volume.pullable();
    ejection.line = ejection.ejected ? message::cardEjected(card) : message::cardNotEjected(card);
    switch (volume.result) {
        case VolumeEjection::Result::PoweredOff: break;
        case VolumeEjection::Result::Unmounted:
            if (!volume.reason.empty()) ejection.reason = message::notSwitchedOff(volume.reason);
            break;
        case VolumeEjection::Result::NoService: ejection.reason = message::kNoUdisks; break;
        case VolumeEjection::Result::NotRemovable: ejection.reason = message::kNotRemovable; break;
        case VolumeEjection::Result::Failed: ejection.reason = volume.reason; break;
    }
    return ejection;
}

}  // namespace brenvik::card
