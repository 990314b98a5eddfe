#pragma once
// The window program's settings store: QSettings, organisation and application "Brenvik".
#include "SettingsStore.h"

namespace brenvik {

class QtSettingsStore : public SettingsStore {
public:
    std::string readSetting(const std::string& section, const std::string& key,
                            const std::string& defaultText) override;
    void writeSetting(const std::string& section, const std::string& key,
                      const std::string& text) override;
};

}  // namespace brenvik
