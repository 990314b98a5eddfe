#include "GuardedApplication.h"

#include <cstdio>

#include "Interaction.h"
#include "Messages.h"
#include "RoutineError.h"

namespace brenvik {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const std::string reason = caughtReason();
        // The box runs events of its own: a failure that repeats with each of them must not
        // stack boxes without end.
        if (!m_ui || m_telling) {
            std::fprintf(stderr, "%s\n  %s\n", message::kUnexpectedFailure, reason.c_str());
            return false;
        }
        m_telling = true;
        m_ui->message(message::kUnexpectedFailure, MessageButtons::Ok, MessageIcon::Critical,
                      reason);
        m_telling = false;
    }
    return false;
}

}  // namespace brenvik
