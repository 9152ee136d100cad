#include "bench/bench_support.h"

#include <filesystem>

namespace vbench {

std::vector<double> timeRuns(int runs, const std::function<void()>& body) {
  for (int i = 0; i < 5; ++i) body();
  std::vector<double> out;
  out.reserve(static_cast<std::size_t>(runs));
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    body();
    out.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
  }
  return out;
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const auto i = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
  return v[std::min(i, v.size() - 1)];
}

double median(std::vector<double> v) { return percentile(std::move(v), 0.5); }

DataFolder::DataFolder(const std::string& folder) : previous_(std::filesystem::current_path().string()) {
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
}

DataFolder::~DataFolder() { std::filesystem::current_path(previous_); }

}  // namespace vbench
