#pragma once
// The Qt application a command needs for Qt's event loop (play) or its D-Bus connection (eject),
// made only where none exists yet: the tests run the commands inside an application of their own.
#include <QCoreApplication>

#include <optional>

namespace brenvik::cli::media {

class CommandApplication {
public:
    CommandApplication() {
        if (!QCoreApplication::instance()) m_application.emplace(s_argc, s_argv);
    }

private:
    static inline int s_argc = 1;
    static inline char s_name[] = "brenvik-cli";
    static inline char* s_argv[] = {s_name, nullptr};
    std::optional<QCoreApplication> m_application;
};

}  // namespace brenvik::cli::media
