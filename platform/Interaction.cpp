#include "Interaction.h"

namespace brenvik {

OverwritePolicy askBeforeReplacing(Interaction& ui, PathText question, MessageButtons buttons, PathText reason) {
    return [&ui, question = std::move(question), buttons, reason = std::move(reason)](const std::string& existing) {
        switch (ui.message(question(existing), buttons, MessageIcon::None, reason ? reason(existing) : std::string())) {
            case MessageAnswer::Yes:
                return ReplaceChoice::Replace;
            case MessageAnswer::No:
                return ReplaceChoice::Keep;
            default:
                return ReplaceChoice::Cancel;
        }
    };
}

}  // namespace brenvik
