#pragma once
// Ejects the removable volume that holds a folder the way the desktop's file managers do, through
// udisks2 on the system bus, so no root is needed: what is written is synced, the file system
// unmounted and the device switched off when it can be. The system bus is the one
// DBUS_SYSTEM_BUS_ADDRESS names, when set.
#include <string>

#include "VolumeEjection.h"

namespace brenvik {

// `folder` is any folder on the volume (the card's loops may lie below its mount point). The
// caller lets go of every file and folder of the volume first: an open one keeps it mounted.
VolumeEjection ejectVolumeHolding(const std::string& folder);

}  // namespace brenvik
