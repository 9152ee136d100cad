#pragma once
// The list of recent messages that the errors-history window shows, oldest first.
#include <deque>
#include <vector>

#include "records/message_display.h"

namespace vesp {

class ErrorHistory {
 public:
  // 0 turns the history off; above 0 it is the number of messages kept.
  void SetThreshold(int threshold);
  int Threshold() const { return threshold_; }
  bool IsOn() const { return threshold_ > 0; }

  // Drops the oldest messages first so that the list never holds more than the threshold.
  void Add(HistoryRow row);
  std::vector<HistoryRow> Rows() const { return {rows_.begin(), rows_.end()}; }
  void Clear() { rows_.clear(); }

 private:
  int threshold_ = 0;
  std::deque<HistoryRow> rows_;
};

}  // namespace vesp
