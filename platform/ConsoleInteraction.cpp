#include "ConsoleInteraction.h"

#include <algorithm>

namespace brenvik {

std::string reasonLine(const std::string& reason) {
    return reason.empty() ? std::string() : "  " + reason + "\n";
}

void ConsoleInteraction::endProgressLine() {
    if (m_drawn < 0) return;
    m_err << '\n';
    m_drawn = -1;
}

MessageAnswer ConsoleInteraction::message(const std::string& text, MessageButtons buttons,
                                          MessageIcon, const std::string& detail) {
    endProgressLine();
    m_err << text << '\n' << reasonLine(detail);
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : m_answer;
}

void ConsoleInteraction::logFailure(const std::string& command, const std::string& reason) {
    endProgressLine();
    m_err << command << ": " << reason << '\n';
}

void ConsoleInteraction::showProgress(float done, float total) {
    if (!m_drawProgress) return;
    const int percent =
        total > 0 ? static_cast<int>(std::clamp(done / total, 0.0f, 1.0f) * 100) : 0;
    if ((done == 0 && m_drawn < 0) || percent == m_drawn) return;
    m_drawn = percent;
    const int width = 40, filled = percent * width / 100;
    m_err << '\r' << '[' << std::string(static_cast<size_t>(filled), '#')
          << std::string(static_cast<size_t>(width - filled), ' ') << "] " << percent << '%'
          << std::flush;
}

}  // namespace brenvik
