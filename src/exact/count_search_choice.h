// Which of the two exact counts is the faster on an instance, chosen by a cheap deterministic rule:
// the count is the same either way, only its time depends on the choice.
#pragma once

#include "exact/search_problem.h"

namespace jobshop {

enum class ChosenSearch { kStates, kDisjunctive };

ChosenSearch chooseCountSearch(const SearchProblem& problem, int bound);

}  // namespace jobshop
