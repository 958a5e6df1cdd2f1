#include "bench/measure/summary.h"

#include <algorithm>
#include <cstdio>

namespace kesto::bench {

namespace {

// The value at fraction `at` of the sorted list, between neighbours by linear interpolation.
double Quantile(const std::vector<double>& sorted, double at) {
  const double place = at * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(place);
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  const double weight = place - static_cast<double>(below);
  return sorted[below] * (1 - weight) + sorted[above] * weight;
}

}  // namespace

Summary Summarise(std::vector<double> timings) {
  std::sort(timings.begin(), timings.end());
  Summary summary;
  summary.median = Quantile(timings, 0.5);
  summary.lowerQuartile = Quantile(timings, 0.25);
  summary.upperQuartile = Quantile(timings, 0.75);
  summary.least = timings.front();
  summary.most = timings.back();
  summary.count = static_cast<int>(timings.size());
  return summary;
}

double SpreadPercent(const Summary& summary) {
  return summary.median > 0 ? 100 * (summary.upperQuartile - summary.lowerQuartile) / summary.median
                            : 0;
}

std::string Describe(const Summary& summary, double scale, const char* unit) {
  char text[200];
  std::snprintf(text, sizeof text,
                "median %.2f %s, spread %.1f %% (quartiles %.2f-%.2f, range %.2f-%.2f), "
                "%d repetitions",
                summary.median * scale, unit, SpreadPercent(summary), summary.lowerQuartile * scale,
                summary.upperQuartile * scale, summary.least * scale, summary.most * scale,
                summary.count);
  return text;
}

std::vector<Summary> ReportEachSide(const std::vector<Side>& sides,
                                    const std::vector<std::vector<double>>& samples, int nameWidth,
                                    const std::function<std::string(const Summary&)>& describe) {
  std::vector<Summary> summaries;
  for (std::size_t s = 0; s < sides.size(); ++s) {
    summaries.push_back(Summarise(samples[s]));
    std::printf("  %-*s %s\n", nameWidth, sides[s].name.c_str(),
                describe(summaries.back()).c_str());
  }
  return summaries;
}

}  // namespace kesto::bench
