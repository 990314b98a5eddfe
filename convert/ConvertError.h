#pragma once
// Why a conversion cannot go on, as the user reads it: the file and the reason (the audio
// library's or the system's error text). The conversion's callers show it as it is.
#include <stdexcept>
#include <string>

namespace brenvik {

class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace brenvik
