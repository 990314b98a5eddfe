#pragma once
// One run of to-loop: the checks its table cannot make, then each source written into its loop
// through the loop writer, as the window's Save writes it. brenvik-cli writes the sources as
// given; its companion, with --convert, first converts those that need it and writes the
// converted waves the same way, so every check and message after the conversion is the same.
#include <ostream>
#include <set>
#include <string>

#include "Arguments.h"
#include "ConsoleInteraction.h"
#include "Files.h"
#include "LoopWriting.h"
#include "TempoEstimate.h"

namespace brenvik::cli {

// --beats auto: the beat count of the tempo found in the audio.
inline constexpr const char* kAutoBeats = "auto";

class ToLoopRun {
public:
    ToLoopRun(const Arguments& args, std::ostream& out, std::ostream& err, bool errIsTerminal);

    // Bad usage of the options together (--loop with several sources, a track shared by both
    // channels), told on err: its exit status, or kOk.
    int checkUsage() const;
    // Writes the wave at `path` into the next loop: the exit status of that save. `source` is the
    // source as the command line names it, which a refusal among several names.
    int write(const std::string& source, const std::string& path);

    // How the tempo of a wave is found, for --beats auto and the tempo a dry run prints; the
    // companion has one, brenvik-cli none.
    void setTempoFinder(tempo::TempoFinder findTempo) { m_findTempo = findTempo; }

    Files& files() { return m_files; }
    ConsoleInteraction& ui() { return m_ui; }

private:
    TempoChoice answerTempo(const LoopPlan& plan, const std::string& loopName);

    const Arguments& m_args;
    std::ostream& m_out;
    std::ostream& m_err;
    Files m_files;
    ConsoleInteraction m_ui;
    tempo::TempoFinder m_findTempo = nullptr;
    std::set<int> m_planned;  // the loop numbers a dry run planned, as if written
};

}  // namespace brenvik::cli
