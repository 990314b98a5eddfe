#include "RoutineError.h"

#include <cerrno>
#include <cstring>
#include <exception>

namespace brenvik {

RoutineError RoutineError::ofSystem(std::string_view step, const std::string& path) {
    return ofSystem(step, path, errno);
}

RoutineError RoutineError::ofSystem(std::string_view step, const std::string& path, int error) {
    return ofSystem(step, path, std::error_code(error, std::generic_category()));
}

RoutineError RoutineError::ofSystem(std::string_view step, const std::string& path,
                                    const std::error_code& error) {
    // An empty name is shown as such: a cancelled dialog leaves one.
    const std::string shown = path.empty() ? "\"\"" : path;
    return RoutineError(std::string(step) + " " + shown + ": " + error.message());
}

RoutineError RoutineError::outOfRange(const std::string& value, int bits, bool isSigned) {
    return RoutineError(value + " leaves the " + (isSigned ? "signed " : "unsigned ") +
                        std::to_string(bits) + "-bit range");
}

std::string noFileReason(const std::string& path) {
    return path.empty() ? "no file was chosen" : "there is no file " + path;
}

std::string caughtReason() {
    const std::exception_ptr caught = std::current_exception();
    if (!caught) return {};
    try {
        std::rethrow_exception(caught);
    } catch (const std::exception& failure) {
        return failure.what();
    } catch (...) {
        return "an unknown failure";
    }
}

}  // namespace brenvik
