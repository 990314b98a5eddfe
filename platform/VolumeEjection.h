#pragma once
// What became of ejecting the removable volume that holds a folder, without the windows' or the
// D-Bus library's types, so that the card's checks and the command line can weigh it.
#include <string>

namespace brenvik {

struct VolumeEjection {
    enum class Result {
        PoweredOff,    // unmounted and the device switched off
        Unmounted,     // unmounted; the device cannot be switched off, or it failed (the reason says)
        NoService,     // no udisks2 on the system bus
        NotRemovable,  // udisks2 knows no removable device mounted there
        Failed,        // the volume is still mounted: the reason is udisks2's or the system's
    };
    Result result = Result::Failed;
    std::string reason;
    // Nothing of the volume is left to write: it may be pulled out.
    bool pullable() const { return result == Result::PoweredOff || result == Result::Unmounted; }
};

}  // namespace brenvik
