#include "ConsolePlatform.h"

#include <algorithm>

namespace brenvik {

bool ConsolePlatform::saw(const std::string& text) const {
    return std::find(m_messages.begin(), m_messages.end(), text) != m_messages.end();
}

MessageAnswer ConsolePlatform::message(const std::string& text, MessageButtons buttons,
                                       MessageIcon) {
    if (m_drawn >= 0) {  // finish the progress line first
        m_err << '\n';
        m_drawn = -1;
    }
    m_messages.push_back(text);
    m_err << text << '\n';
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : m_answer;
}

void ConsolePlatform::takeFileChoice(FileDialog& dialog) {
    if (m_fileChoices.empty()) return;
    dialog.fileName = m_fileChoices.front();
    m_fileChoices.pop_front();
}

void ConsolePlatform::showHelp(const std::string& helpFile, int command) {
    m_err << "help: " << helpFile << " (command " << command << ")\n";
}

void ConsolePlatform::setProgressValue(float value) {
    m_value = value;
    if (!m_drawProgress) return;
    const float span = m_max - m_min;
    const int percent = span > 0 ? static_cast<int>(std::clamp((value - m_min) / span, 0.0f, 1.0f) * 100) : 0;
    if (value == 0 && m_drawn < 0) return;
    if (percent == m_drawn) return;
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
