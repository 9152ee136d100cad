#include "windows/timed_batches.h"

#include <algorithm>

namespace vesp {

long TimedBatches::since(long start) const {
  const long spent = clock_() - start;
  return spent < 0 ? spent + kDay : spent;  // across midnight
}

bool TimedBatches::RunTimerEvent(const std::function<bool()>& processOne) {
  const long start = clock_();
  long records = 0, spent = 0;
  bool more = true;
  for (;;) {
    for (long n = 0; n < RECORDSPERCYCLE && more; ++n) {
      more = processOne();
      if (more) ++records;
    }
    spent = since(start);
    if (!more) break;
    if (spent * 5 < TIMESLICE * 4L) RECORDSPERCYCLE *= 2;
    if (spent * 2 >= TIMESLICE) break;
  }
  if (TIMESLICE * 3L < spent * 2 && RECORDSPERCYCLE > 1) RECORDSPERCYCLE /= 2;
  lastRecords_ = records;
  lastSpent_ = spent;
  longest_ = std::max(longest_, spent);
  return more;
}

int ProgressPercent(long long done, long long total) {
  if (total <= 0) return 0;
  return static_cast<int>(std::min<long long>(100, done * 100 / total));
}

}  // namespace vesp
