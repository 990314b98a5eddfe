#pragma once
// How failures travel, for every operation of the core:
// - It throws nothing across its boundary: it returns its outcome, with the message the user is
//   shown and the reason behind it (the step, the file and the system's own error text).
// - A failure to list or read one item (a loop, a file) is reported with that item; the listing
//   goes on and never ends in silence.
// - RoutineError is thrown only inside an operation, and caught there to become its outcome. What
//   escapes anyway is caught once at the top (brenvik-cli's command runner, the window program's
//   event dispatch) and shown as an unexpected failure with its reason.
//
// An unexpected failure inside a routine: an arithmetic overflow, a value outside the range it
// must lie in, a file that cannot be read or written. It carries its cause in words (the step that
// failed, the file, the system's error text, the value out of range), so that whoever catches it
// can tell the user why behind the command's own fixed message.
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace brenvik {

class RoutineError : public std::runtime_error {
public:
    explicit RoutineError(const std::string& reason) : std::runtime_error(reason) {}

    // "cannot write /card/LOOP1/track1.wav: File too large": the step, the path and the system's
    // text for the error number (errno as it stands when none is given).
    static RoutineError ofSystem(std::string_view step, const std::string& path);
    static RoutineError ofSystem(std::string_view step, const std::string& path, int error);
    static RoutineError ofSystem(std::string_view step, const std::string& path,
                                 const std::error_code& error);
    // "70000 leaves the signed 16-bit range".
    static RoutineError outOfRange(const std::string& value, int bits, bool isSigned);
};

// Why a file cannot be used when there is none at the path: "there is no file /x/in.wav", or, for
// the empty name a cancelled dialog leaves, "no file was chosen".
std::string noFileReason(const std::string& path);

// The cause of the failure being handled, in words: a RoutineError's own text, or the standard
// library's for any other exception. Inside a catch block; empty where nothing was thrown.
std::string caughtReason();

}  // namespace brenvik
