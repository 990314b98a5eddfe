#include "Interaction.h"

namespace brenvik {

OverwritePolicy askBeforeReplacing(Interaction& ui,
                                   std::function<std::string(const std::string&)> question,
                                   MessageButtons buttons) {
    return [&ui, question = std::move(question), buttons](const std::string& existing) {
        switch (ui.message(question(existing), buttons)) {
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
