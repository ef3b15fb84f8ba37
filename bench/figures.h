// What both benchmarks report of a series of measurements: median, minimum and maximum, as a row
// of a markdown table.
#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

struct Figures {
  double median = 0, minimum = 0, maximum = 0;
};

inline Figures figuresOf(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

inline void printRow(const char* name, const Figures& f, const char* unit) {
  std::printf("| %s | %.2f | %.2f | %.2f | %s |\n", name, f.median, f.minimum, f.maximum, unit);
}

}  // namespace bench
