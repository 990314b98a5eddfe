#pragma once
// Writes past 1.5 MiB of a file fail as on a full card (the signal that would end the process
// ignored), for as long as it lives.
#include <signal.h>
#include <sys/resource.h>

namespace brenvik::test {

class FullCard {
public:
    FullCard() : m_handler(::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        const rlimit full{1536 * 1024, m_limit.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &full);
    }
    ~FullCard() {
        ::setrlimit(RLIMIT_FSIZE, &m_limit);
        ::signal(SIGXFSZ, m_handler);
    }
    FullCard(const FullCard&) = delete;
    FullCard& operator=(const FullCard&) = delete;

private:
    sighandler_t m_handler;
    rlimit m_limit{};
};

}  // namespace brenvik::test
