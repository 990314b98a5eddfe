#pragma once
// An unexpected failure inside a routine: an arithmetic overflow, a conversion that cannot be
// made, a file that cannot be read or written. Every command catches it on its one catch-all
// path and shows its own fixed message (or none); the platform's error text is never shown.
#include <stdexcept>
#include <string>

namespace brenvik {

class RoutineError : public std::runtime_error {
public:
    explicit RoutineError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace brenvik
