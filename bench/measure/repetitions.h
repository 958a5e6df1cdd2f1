// Repeating the sides of a comparison in turn until each has been timed often enough for its
// median to hold from one run to the next.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kesto::bench {

// One side of a comparison: `timeOnce` does the work once and returns the seconds it took,
// or a negative number when the work failed.
struct Side {
  std::string name;
  std::function<double()> timeOnce;
};

struct RepetitionPlan {
  // Each side runs at least this often and for at least this long in all...
  int minRepetitions = 15;
  double minSecondsPerSide = 2.0;
  // ...unless a count is given, which is then the count exactly (a smoke run).
  int exactRepetitions = 0;
  // Runs, untimed, before every repetition of every side (a cold cache, for instance).
  std::function<void()> beforeEach;
};

// The seconds of every repetition, one list per side. The sides take turns, in the opposite
// order every other round, so that a drift of the machine's speed falls on all of them alike.
// Nothing when any repetition fails.
std::optional<std::vector<std::vector<double>>> RepeatInterleaved(const std::vector<Side>& sides,
                                                                  const RepetitionPlan& plan);

// Seconds on the monotonic clock that `work` takes.
double SecondsOf(const std::function<void()>& work);

}  // namespace kesto::bench
