#include "LoopPlan.h"

#include <cmath>
#include <exception>

#include "Checked.h"
#include "LoopLayout.h"
#include "Messages.h"
#include "Numbers.h"
#include "RoutineError.h"

namespace brenvik {

namespace {

constexpr int32_t kLargestByte = 255;             // the beat count is stored in one byte

class Planner {
public:
    Planner(LoopPlan& plan, int32_t d, const LoopSettings& settings, const std::vector<float>& table,
            bool tempoAsShown, message::Voice voice)
        : m_plan(plan), m_d(d), m_settings(settings), m_table(table), m_tempoAsShown(tempoAsShown), m_voice(voice) {}

    void run() {
        try {
            m_plan.values = values();
        } catch (const std::exception&) {
            m_plan.valuesFailure = caughtReason();
        }
        compare();
        warn();
    }

private:
    int32_t tableLast() const { return static_cast<int32_t>(m_table.size()) - 1; }
    bool inTable(int32_t index) const { return index >= 0 && index <= tableLast(); }

    loop::LoopValues values() {
        const LoopSettings& s = m_settings;
        loop::LoopValues v;
        v.trackSectors = loop::trackSectors(m_d, m_plan.stereo);
        v.loopSectors = loop::loopSectors(m_d);
        v.clusters = loop::clusterCount(v.loopSectors);
        v.tracks.at(static_cast<size_t>(s.left.track - 1)) = {true, s.left.pan, s.left.pitch};
        if (m_plan.stereo) v.tracks.at(static_cast<size_t>(s.right.track - 1)) = {true, s.right.pan, s.right.pitch};
        // The description counts the beats in 16 bits.
        v.beatCount = checkedCast<int16_t>(s.beatCount);
        v.beatsPerBar = s.beatsPerBar;
        v.division = s.division;
        const int16_t position = checkedSub<int16_t>(static_cast<int16_t>(v.beatCount), 1);
        if (inTable(position)) m_plan.tempoShown = m_table[static_cast<size_t>(position)];
        // The Repeater's loops take the tempo from the entry at beats per bar times (beats - 1), in
        // 16-bit arithmetic; asked to, the entry the Tempo box shows. An entry outside the table
        // is an error of the save.
        const int16_t index = m_tempoAsShown ? position : checkedMul<int16_t>(s.beatsPerBar, position);
        m_index = index;
        m_position = position;
        if (!inTable(index))
            throw RoutineError("the tempo index " + intToText(index) + " (" +
                               (m_tempoAsShown ? "" : intToText(s.beatsPerBar) + " beats per bar x ") +
                               intToText(v.beatCount) + " beats less one) lies outside the tempo table (0 to " +
                               intToText(tableLast()) + ")");
        v.tempoCode = loop::tempoCode(m_table[static_cast<size_t>(index)]);
        m_plan.tempoOnCard = loop::tempoOfCode(v.tempoCode);
        m_tempoMoved = index != position;
        return v;
    }

    void warn() {
        std::vector<std::string>& w = m_plan.warnings;
        const LoopSettings& s = m_settings;
        if (m_plan.tooLong) {
            const double longest = loop::longestLoopSource(m_plan.stereo) / (loop::kTrackBytesPerSecond * (m_plan.stereo ? 2 : 1));
            w.push_back(message::planTooLong(longest, m_plan.stereo));
        } else if (!m_plan.values) {
            w.push_back(m_index && !inTable(*m_index)
                            ? message::planTempoPastTable(*m_index, tableLast(), s.beatsPerBar, m_voice)
                            : message::planFails(m_plan.valuesFailure));
        }
        if (m_plan.beatsWrap) w.push_back(message::planBeatsWrap(s.beatCount, m_plan.beatsCounted));
        if (m_plan.tempoMoved)
            w.push_back(message::planTempoNotShown(m_plan.tempoOnCard, m_plan.tempoShown, s.beatsPerBar, m_voice));
    }

    // A tempo off the one shown by more than its last digit, or none where the one shown fits.
    void compare() {
        constexpr double kHeard = 0.1;  // BPM: the Tempo box shows tenths
        m_plan.tempoMoved = m_plan.values && m_tempoMoved &&
                            std::abs(m_plan.tempoOnCard - m_plan.tempoShown) > kHeard;
        m_plan.tempoOnlyAsShown = !m_plan.values && !m_tempoAsShown && m_index && !inTable(*m_index) &&
                                  m_position && inTable(*m_position) && m_plan.tempoShown > 0;
        m_plan.beatsWrap = m_settings.beatCount > kLargestByte;
        m_plan.beatsCounted = m_settings.beatCount & kLargestByte;
    }

    LoopPlan& m_plan;
    int32_t m_d;
    const LoopSettings& m_settings;
    const std::vector<float>& m_table;
    bool m_tempoAsShown;
    message::Voice m_voice;
    std::optional<int32_t> m_index;
    std::optional<int32_t> m_position;
    bool m_tempoMoved = false;
};

}  // namespace

double LoopPlan::seconds() const { return audioLength / loop::kTrackBytesPerSecond; }

LoopPlan planLoop(ChannelMode mode, int32_t d, const LoopSettings& settings, const std::vector<float>& tempoTable,
                  bool tempoAsShown, message::Voice voice) {
    LoopPlan plan;
    plan.stereo = mode == ChannelMode::Stereo;
    plan.settings = settings;
    plan.tracks = {settings.left.track};
    if (plan.stereo) plan.tracks.push_back(settings.right.track);
    plan.audioLength = loop::audioLength(d, plan.stereo);
    if (loop::exceedsLoop(d, plan.stereo))
        plan.tooLong = "the source makes " + intToText(loop::clusterCount(loop::loopSectors(d))) +
                       " clusters and an end sector of " + intToText(loop::trackSectors(d, plan.stereo) - 1) +
                       " per track";
    Planner(plan, d, settings, tempoTable, tempoAsShown, voice).run();
    return plan;
}

std::string planSummary(const LoopPlan& plan, const std::string& loopFolder) {
    const LoopSettings& s = plan.settings;
    return message::loopSummary(loopFolder, plan.values ? std::optional(plan.tempoOnCard) : std::nullopt,
                                s.beatCount, s.beatsPerBar, s.division, plan.tracks, plan.seconds());
}

}  // namespace brenvik
