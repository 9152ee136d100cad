#include "records/error_history.h"

#include <algorithm>

namespace vesp {

void ErrorHistory::SetThreshold(int threshold) {
  threshold_ = std::max(threshold, 0);
  while (rows_.size() > static_cast<std::size_t>(threshold_)) rows_.pop_front();
}

void ErrorHistory::Add(HistoryRow row) {
  if (!IsOn()) return;
  while (rows_.size() >= static_cast<std::size_t>(threshold_)) rows_.pop_front();
  rows_.push_back(std::move(row));
}

}  // namespace vesp
