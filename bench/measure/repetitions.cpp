#include "bench/measure/repetitions.h"

#include <time.h>

#include <algorithm>
#include <numeric>

namespace kesto::bench {

namespace {

double MonotonicSeconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A runaway bound: work so short that 2 s takes more rounds than this is too small to measure.
constexpr int kMaxRepetitions = 2000;

bool Enough(const std::vector<std::vector<double>>& samples, const RepetitionPlan& plan) {
  const int done = static_cast<int>(samples.front().size());
  if (plan.exactRepetitions > 0) return done >= plan.exactRepetitions;
  if (done >= kMaxRepetitions) return true;
  if (done < plan.minRepetitions) return false;
  return std::all_of(samples.begin(), samples.end(), [&](const std::vector<double>& side) {
    return std::accumulate(side.begin(), side.end(), 0.0) >= plan.minSecondsPerSide;
  });
}

}  // namespace

double SecondsOf(const std::function<void()>& work) {
  const double start = MonotonicSeconds();
  work();
  return MonotonicSeconds() - start;
}

std::optional<std::vector<std::vector<double>>> RepeatInterleaved(const std::vector<Side>& sides,
                                                                  const RepetitionPlan& plan) {
  std::vector<std::vector<double>> samples(sides.size());
  if (sides.empty()) return samples;
  for (int round = 0; !Enough(samples, plan); ++round) {
    for (std::size_t turn = 0; turn < sides.size(); ++turn) {
      const std::size_t at = round % 2 == 0 ? turn : sides.size() - 1 - turn;
      if (plan.beforeEach) plan.beforeEach();
      const double seconds = sides[at].timeOnce();
      if (seconds < 0) return std::nullopt;
      samples[at].push_back(seconds);
    }
  }
  return samples;
}

}  // namespace kesto::bench
