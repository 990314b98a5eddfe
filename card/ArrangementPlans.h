#pragma once
// The arrangements the window and the command line offer, as requests for `arrange`.
#include <string>
#include <vector>

#include "Arrangement.h"

namespace brenvik::card {

// Loop `from` of the card to number `to`, of the same card or of `toCard`.
ArrangeRequest moveRequest(const std::string& card, int from, int to, const std::string& toCard = {});
// A copy of loop `from` as loop `to` of `toCard` (which may be the card itself).
ArrangeRequest copyRequest(const std::string& card, int from, const std::string& toCard, int to);
ArrangeRequest swapRequest(const std::string& card, int a, int b);
ArrangeRequest deleteRequest(const std::string& card, const std::vector<int>& numbers);
// The loops numbered `order` take the numbers they hold now, lowest first, in the order given:
// 5,2,9 puts loop 5 at 2, loop 2 at 5 and loop 9 stays. Loops not named keep their numbers.
ArrangeRequest orderRequest(const std::string& card, const std::vector<int>& order);
// Every loop of the card, in loop-number order, at 1, 2, 3 and on. Throws RoutineError when the
// card cannot be read.
ArrangeRequest closeGapsRequest(const std::string& card, const Files& files);

}  // namespace brenvik::card
