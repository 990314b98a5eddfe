#pragma once
// Which mounted volume a folder lies on, as a card is known again wherever it is mounted next
// time: its mount point, and the label and UUID of its file system (a FAT card's volume label and
// serial number). Read from the system's mount table and the names udev gives devices under
// /dev/disk; what cannot be told stays empty (a folder on a volume without a device, a system
// without udev).
#include <string>

namespace brenvik {

struct VolumeIdentity {
    std::string mountPoint;
    std::string label;
    std::string uuid;
};

VolumeIdentity volumeIdentity(const std::string& path,
                              const std::string& mountTable = "/proc/self/mountinfo",
                              const std::string& diskLinks = "/dev/disk");

}  // namespace brenvik
