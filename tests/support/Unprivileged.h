#pragma once
// A test run as root (whom file modes do not stop) works as an unprivileged user for as long as
// this lives, so that a file without read permission really cannot be read. Whatever that user
// must reach is the test's to open up first.
#include <unistd.h>

namespace brenvik::test {

class Unprivileged {
public:
    Unprivileged() {
        if (::geteuid() == 0) m_wasRoot = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
    }
    ~Unprivileged() {
        if (m_wasRoot) static_cast<void>(::seteuid(0) == 0 && ::setegid(0) == 0);
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    bool m_wasRoot = false;
};

}  // namespace brenvik::test
