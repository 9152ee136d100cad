#pragma once
// Helpers shared by the benchmarks: timing, medians, and a data folder to work in.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vbench {

// Runs `body` `runs` times after a few warm-up runs; returns each run's microseconds.
std::vector<double> timeRuns(int runs, const std::function<void()>& body);
double median(std::vector<double> v);
double percentile(std::vector<double> v, double p);

// Works in `folder` (made when missing); returns to the previous folder when it ends.
class DataFolder {
 public:
  explicit DataFolder(const std::string& folder);
  ~DataFolder();

 private:
  std::string previous_;
};

}  // namespace vbench
