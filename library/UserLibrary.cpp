#include "UserLibrary.h"

#include <map>
#include <memory>

#include "Files.h"

namespace brenvik::library {

LoopLibrary& userLibrary(const Files& files) {
    static std::map<std::string, std::unique_ptr<LoopLibrary>> opened;
    const std::string folder = LoopLibrary::folderIn(files.userDataFolder());
    auto& library = opened[folder];
    if (!library) library = std::make_unique<LoopLibrary>(folder);
    return *library;
}

}  // namespace brenvik::library
