#pragma once
// The file a loop is exported as: its numbered name ("LOOP3", "LOOP3-track2") and then the name
// the musician gave it, "LOOP3 Intro groove.wav", made a name every card and computer can hold.
#include <string>
#include <string_view>

namespace brenvik::library {

inline constexpr size_t kLongestFileName = 255;  // bytes, on FAT and ext4 alike

// `numbered` + " " + `loopName` + `extension`, or `numbered` + `extension` for a loop without a
// name. In the name, what FAT or a file name cannot hold (/ \ : * ? " < > | and control
// characters) becomes "_", and so do dots and spaces at its end; the name is cut, never inside
// a character, so that the whole file name keeps within kLongestFileName bytes.
std::string exportFileName(std::string_view numbered, std::string_view loopName,
                           std::string_view extension = ".wav");

}  // namespace brenvik::library
