#include "ArrangementRequests.h"

#include <algorithm>

#include "CardFolder.h"
#include "LoopFolderName.h"

namespace brenvik::card {

namespace {

std::string name(int number) { return loop::loopFolderName(number); }

bool anyNamed(const std::vector<int>& numbers, const LoopNamer& namer) {
    return namer && std::any_of(numbers.begin(), numbers.end(), [&](int n) { return !namer(n).empty(); });
}

ArrangeRequest renumbering(const std::string& card, const std::vector<int>& from, const std::vector<int>& to,
                           std::string what) {
    ArrangeRequest request{std::move(what), {}};
    for (size_t i = 0; i < from.size(); ++i)
        request.placements.push_back({{card, from[i]}, LoopPlace{card, to[i]}, false, {}});
    return request;
}

}  // namespace

std::string namedLoop(int number, const LoopNamer& namer) {
    const std::string given = namer ? namer(number) : std::string();
    return given.empty() ? name(number) : given + " (" + name(number) + ")";
}

ArrangeRequest moveRequest(const std::string& card, int from, int to, const std::string& toCard,
                           const LoopNamer& namer) {
    const std::string target = toCard.empty() ? card : toCard;
    return {"move " + namedLoop(from, namer) + " to " + name(to), {{{card, from}, LoopPlace{target, to}, false, {}}}};
}

ArrangeRequest copyRequest(const std::string& card, int from, const std::string& toCard, int to,
                           const LoopNamer& namer) {
    ArrangeRequest request{"copy " + namedLoop(from, namer) + " to " + name(to),
                           {{{card, from}, LoopPlace{toCard, to}, true, {}}}};
    request.undoable = false;
    return request;
}

ArrangeRequest swapRequest(const std::string& card, int a, int b, const LoopNamer& namer) {
    const std::string verb = anyNamed({a, b}, namer) ? "swap of " : "swap ";
    return renumbering(card, {a, b}, {b, a}, verb + namedLoop(a, namer) + " and " + namedLoop(b, namer));
}

// Named loops are listed with commas, as their names may hold spaces.
ArrangeRequest deleteRequest(const std::string& card, const std::vector<int>& numbers, const LoopNamer& namer) {
    const bool named = anyNamed(numbers, namer);
    ArrangeRequest request{"delete", {}};
    for (const int number : numbers) {
        request.what += (named && request.placements.size() > 0 ? ", " : " ") + namedLoop(number, namer);
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
