#pragma once
// The per-user settings store, addressed by section and key: the window program keeps it in
// QSettings, a test in memory.
#include <string>

namespace brenvik {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string readSetting(const std::string& section, const std::string& key,
                                    const std::string& defaultText) = 0;
    // Throws RoutineError when the store cannot be written.
    virtual void writeSetting(const std::string& section, const std::string& key,
                              const std::string& text) = 0;
};

}  // namespace brenvik
