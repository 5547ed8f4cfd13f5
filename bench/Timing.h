#pragma once

// How the benchmarks time their work: the wall time of one call, and the median of many, which
// a busy machine disturbs less than the mean.
#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

template <typename Work>
double timeMicros(Work work) {
  const auto begin = std::chrono::steady_clock::now();
  work();
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::micro>(end - begin).count();
}

inline double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace bench
