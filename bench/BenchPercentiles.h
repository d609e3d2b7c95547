// BenchPercentiles.h - the median and the 95th percentile of a series of timings.
#pragma once

#include <algorithm>
#include <vector>

struct TMedianP95 {
  double Median = 0, P95 = 0;
};

inline TMedianP95 MedianAndP95(std::vector<double> Times) {
  if (Times.empty()) return {};
  std::sort(Times.begin(), Times.end());
  return {Times[Times.size() / 2], Times[Times.size() * 95 / 100]};
}
