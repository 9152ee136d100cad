#include "tools/vesp_data/progress.h"

#include <unistd.h>

#include <cstdio>

namespace vesp::tools {

Progress::Progress(std::string label, std::int64_t total)
    : label_(std::move(label)), total_(total > 0 ? total : 1), visible_(::isatty(STDERR_FILENO) == 1) {
  draw();
}

Progress::~Progress() { finish(); }

void Progress::advance(std::int64_t by) {
  done_ += by;
  draw();
}

void Progress::draw() {
  if (!visible_) return;
  const int percent = static_cast<int>(done_ * 100 / total_);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  constexpr int width = 40;
  const int filled = percent * width / 100;
  std::fprintf(stderr, "\r%-24s [%.*s%*s] %3d%%", label_.c_str(), filled, "########################################",
               width - filled, "", percent);
  std::fflush(stderr);
}

void Progress::finish() {
  if (finished_) return;
  finished_ = true;
  if (!visible_) return;
  done_ = total_;
  lastPercent_ = -1;
  draw();
  std::fputc('\n', stderr);
}

}  // namespace vesp::tools
