#pragma once
// The names the Repeater gives a loop on its card: a folder "LOOP" and the loop number 1 to 999
// in plain decimal (LOOP7, not LOOP007), holding loopinfo.ldf and the track files. A FAT card
// does not tell letter cases apart, and the device or another computer may have written LOOP7 as
// loop7 and loopinfo.ldf as LOOPINFO.LDF: reading finds them in any case, writing uses the names
// as given here.
#include <optional>
#include <string>
#include <string_view>

namespace brenvik::loop {

inline constexpr const char* kDescriptionFileName = "loopinfo.ldf";

// The numbers a loop may have.
inline constexpr int kLowestLoop = 1;
inline constexpr int kHighestLoop = 999;
constexpr bool isLoopNumber(long long number) {
    return number >= kLowestLoop && number <= kHighestLoop;
}

// 7 for "LOOP7" (or "loop7"); nothing for any other name ("LOOP07", "LOOP0", "LOOP1000").
std::optional<int> loopNumberOf(std::string_view folderName);

// Whether two names are one on a FAT card: equal but for the case of ASCII letters.
bool sameNameOnCard(std::string_view a, std::string_view b);
// The path of the entry of `folder` named `name` in whatever case the card holds it (the exact
// name first); folder, the separator and `name` when there is none.
std::string pathOnCard(const std::string& folder, const std::string& name);

// "LOOP7" for 7.
std::string loopFolderName(int number);

// The last name of a folder path, with or without a separator behind it: "LOOP7" for
// "card/LOOP7" and "card/LOOP7/".
std::string lastFolderName(const std::string& path);

// Where a loop folder keeps its description: the folder, the separator and loopinfo.ldf, joined
// as they stand (a folder "" gives "/loopinfo.ldf").
std::string descriptionPath(const std::string& folder);
// The description a reader opens: loopinfo.ldf in the folder, in any case.
std::string foundDescriptionPath(const std::string& folder);
// Whether the folder holds a loopinfo.ldf file (in any case).
bool holdsDescription(const std::string& folder);
// A loop folder: named LOOP1 to LOOP999 (in any case) and holding a loopinfo.ldf.
bool isLoopFolder(const std::string& folder);

}  // namespace brenvik::loop
