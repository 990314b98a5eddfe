#include "ConsolePlatform.h"

#include <algorithm>

namespace brenvik {

void ConsolePlatform::endProgressLine() {
    if (m_drawn < 0) return;
    m_err << '\n';
    m_drawn = -1;
}

MessageAnswer ConsolePlatform::message(const std::string& text, MessageButtons buttons, MessageIcon) {
    endProgressLine();
    m_err << text << '\n';
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : m_answer;
}

void ConsolePlatform::showProgress(float done, float total) {
    if (!m_drawProgress) return;
    const int percent = total > 0 ? static_cast<int>(std::clamp(done / total, 0.0f, 1.0f) * 100) : 0;
    if ((done == 0 && m_drawn < 0) || percent == m_drawn) return;
    m_drawn = percent;
    const int width = 40, filled = percent * width / 100;
    m_err << '\r' << '[' << std::string(static_cast<size_t>(filled), '#')
          << std::string(static_cast<size_t>(width - filled), ' ') << "] " << percent << '%' << std::flush;
}

std::string ConsolePlatform::readSetting(const std::string& section, const std::string& key,
                                         const std::string& defaultText) {
    auto it = m_settings.find(section + "/" + key);
    return it == m_settings.end() ? defaultText : it->second;
}

void ConsolePlatform::writeSetting(const std::string& section, const std::string& key,
                                   const std::string& text) {
    m_settings[section + "/" + key] = text;
}

}  // namespace brenvik
