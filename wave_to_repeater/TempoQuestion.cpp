#include "TempoQuestion.h"

#include "Messages.h"

namespace brenvik {

std::vector<std::string> differencesFromShown(const LoopPlan& plan, const std::string& loopName) {
    std::vector<std::string> lines;
    const LoopSettings& s = plan.settings;
    if (plan.tempoMoved) lines.push_back(message::tempoNotShown(loopName, plan.tempoOnCard, plan.tempoShown));
    if (plan.tempoOnlyAsShown) lines.push_back(message::tempoOnlyAsShown(loopName, s.beatsPerBar, plan.tempoShown));
    if (plan.beatsWrap) lines.push_back(message::beatsNotShown(loopName, s.beatCount, plan.beatsCounted));
    return lines;
}

TempoChoice askAboutTempo(Interaction& ui, const LoopPlan& plan, const std::string& loopName) {
    std::string text;
    for (const std::string& line : differencesFromShown(plan, loopName)) text += line + ".\n";
    if (!plan.tempoMoved && !plan.tempoOnlyAsShown) {
        const MessageAnswer answer = ui.message(text + message::kWriteAsItStands, MessageButtons::YesNo,
                                                MessageIcon::None, message::kAsItStandsAnswers);
        return answer == MessageAnswer::Yes ? TempoChoice::AsItStands : TempoChoice::Cancel;
    }
    const MessageAnswer answer = ui.message(text + message::writeTempoShown(plan.tempoShown),
                                            MessageButtons::YesNoCancel, MessageIcon::None, message::kTempoAnswers);
    if (answer == MessageAnswer::Yes) return TempoChoice::AsShown;
    return answer == MessageAnswer::No ? TempoChoice::AsItStands : TempoChoice::Cancel;
}

}  // namespace brenvik
