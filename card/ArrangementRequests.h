#pragma once
// The arrangements the window and the command line offer, as requests for `arrange`.
#include <functional>
#include <string>
#include <vector>

#include "Arrangement.h"

namespace brenvik::card {

// The name a musician gave loop `number` of the card, "" for a loop without one. The texts of the
// requests speak of named loops by name and number ("swap of Intro groove (LOOP4) and LOOP20"), of
// the others by number alone; without a namer they read as they always have ("swap LOOP4 and
// LOOP20"), and so do the undo texts a card's history keeps.
using LoopNamer = std::function<std::string(int number)>;

// "Intro groove (LOOP4)", or "LOOP4" when the loop has no name.
std::string namedLoop(int number, const LoopNamer& namer);

// Loop `from` of the card to number `to`, of the same card or of `toCard`.
ArrangeRequest moveRequest(const std::string& card, int from, int to, const std::string& toCard = {},
                           const LoopNamer& namer = {});
// A copy of loop `from` as loop `to` of `toCard` (which may be the card itself).
ArrangeRequest copyRequest(const std::string& card, int from, const std::string& toCard, int to,
                           const LoopNamer& namer = {});
ArrangeRequest swapRequest(const std::string& card, int a, int b, const LoopNamer& namer = {});
ArrangeRequest deleteRequest(const std::string& card, const std::vector<int>& numbers,
                             const LoopNamer& namer = {});
// The loops numbered `order` take the numbers they hold now, lowest first, in the order given:
// 5,2,9 puts loop 5 at 2, loop 2 at 5 and loop 9 stays. Loops not named keep their numbers.
ArrangeRequest orderRequest(const std::string& card, const std::vector<int>& order);
// Every loop of the card, in loop-number order, at 1, 2, 3 and on. Throws RoutineError when the
// card cannot be read.
ArrangeRequest closeGapsRequest(const std::string& card, const Files& files);

}  // namespace brenvik::card
