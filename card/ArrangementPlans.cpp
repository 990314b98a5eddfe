#include "ArrangementPlans.h"

#include <algorithm>

#include "CardFolder.h"
#include "LoopFolderName.h"

namespace brenvik::card {

namespace {

std::string name(int number) { return loop::loopFolderName(number); }

ArrangeRequest renumbering(const std::string& card, const std::vector<int>& from, const std::vector<int>& to,
                           std::string what) {
    ArrangeRequest request{std::move(what), {}};
    for (size_t i = 0; i < from.size(); ++i)
        request.placements.push_back({{card, from[i]}, LoopPlace{card, to[i]}, false, {}});
    return request;
}

}  // namespace

ArrangeRequest moveRequest(const std::string& card, int from, int to, const std::string& toCard) {
    const std::string target = toCard.empty() ? card : toCard;
    return {"move " + name(from) + " to " + name(to), {{{card, from}, LoopPlace{target, to}, false, {}}}};
}

ArrangeRequest copyRequest(const std::string& card, int from, const std::string& toCard, int to) {
    ArrangeRequest request{"copy " + name(from) + " to " + name(to), {{{card, from}, LoopPlace{toCard, to}, true, {}}}};
    request.undoable = false;
    return request;
}

ArrangeRequest swapRequest(const std::string& card, int a, int b) {
    return renumbering(card, {a, b}, {b, a}, "swap " + name(a) + " and " + name(b));
}

ArrangeRequest deleteRequest(const std::string& card, const std::vector<int>& numbers) {
    ArrangeRequest request{"delete", {}};
    for (const int number : numbers) {
        request.what += " " + name(number);
        request.placements.push_back({{card, number}, std::nullopt, false, {}});
    }
    return request;
}

ArrangeRequest orderRequest(const std::string& card, const std::vector<int>& order) {
    std::vector<int> slots = order;
    std::sort(slots.begin(), slots.end());
    std::string what = "renumber";
    for (const int number : order) what += (what.size() > 8 ? "," : " ") + std::to_string(number);
    return renumbering(card, order, slots, what);
}

ArrangeRequest closeGapsRequest(const std::string& card, const Files& files) {
    std::vector<int> from, to;
    for (const LoopFolder& folder : loopFoldersIn(files, card)) {
        from.push_back(folder.number);
        to.push_back(static_cast<int>(to.size()) + 1);
    }
    return renumbering(card, from, to, "close the gaps");
}

}  // namespace brenvik::card
