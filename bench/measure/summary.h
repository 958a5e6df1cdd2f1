// The median and spread of one side's repetitions.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "bench/measure/repetitions.h"

namespace kesto::bench {

struct Summary {
  double median = 0;
  double lowerQuartile = 0;
  double upperQuartile = 0;
  double least = 0;
  double most = 0;
  int count = 0;
};

// The summary of a non-empty list of timings.
Summary Summarise(std::vector<double> timings);

// The spread: the interquartile range in percent of the median.
double SpreadPercent(const Summary& summary);

// "median 25.31 ms, spread 4.4 % (quartiles 24.90-26.02, range 24.10-31.20), 80 repetitions",
// with the timings (in seconds) shown times `scale` in `unit`.
std::string Describe(const Summary& summary, double scale, const char* unit);

// Summarises each side's timings and prints a line for it: its name, padded to `nameWidth`,
// then what `describe` says of its summary. The summaries, in the sides' order.
std::vector<Summary> ReportEachSide(const std::vector<Side>& sides,
                                    const std::vector<std::vector<double>>& samples, int nameWidth,
                                    const std::function<std::string(const Summary&)>& describe);

}  // namespace kesto::bench
