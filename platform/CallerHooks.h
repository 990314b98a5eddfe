#pragma once
// What a core operation hands back to whoever runs it (the window, the command-line tool, a test)
// and the one thing it may ask of them while it runs. The core never shows anything itself: it
// returns its result, with the message and icon the caller shows and the reason behind them, and
// reports progress and asks before replacing through what the caller gives it.
#include <functional>
#include <string>

namespace brenvik {

enum class MessageIcon { None, Warning, Critical };

// How a long copy reports how far it has come: done out of total, in the copy's own units.
using Progress = std::function<void(float done, float total)>;

// Whether what already exists (a loop folder, a wave file) is to be replaced: the answer to the
// question before replacing, Yes, No or Cancel.
enum class ReplaceChoice { Replace, Keep, Cancel };
using OverwritePolicy = std::function<ReplaceChoice(const std::string& existing)>;

}  // namespace brenvik
