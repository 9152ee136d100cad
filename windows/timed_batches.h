#pragma once
// How much of a report one timer event does: records are read and printed in batches whose
// size adapts so that each event takes between half a time slice and one and a half, starting
// from one record, whatever the machine and the data. Kept apart from the window so that the
// rule can be driven by a clock the caller supplies.
#include <functional>

namespace vesp {

class TimedBatches {
 public:
  // Time of day in hundredths of a second (it wraps at midnight).
  using Clock = std::function<long()>;
  static constexpr long kDay = 24L * 60 * 60 * 100;

  explicit TimedBatches(Clock clock, int timeSlice = 100) : TIMESLICE(timeSlice), clock_(std::move(clock)) {}

  // One timer event's work. `processOne` reads and prints one record and returns false when
  // there is none left (or the user cancelled). Returns false once processing has ended.
  bool RunTimerEvent(const std::function<bool()>& processOne);

  long RECORDSPERCYCLE = 1;
  int TIMESLICE;
  // What the last event did, and the longest event so far (hundredths).
  long lastEventRecords() const { return lastRecords_; }
  long lastEventTime() const { return lastSpent_; }
  long longestEventTime() const { return longest_; }

 private:
  long since(long start) const;

  Clock clock_;
  long lastRecords_ = 0, lastSpent_ = 0, longest_ = 0;
};

// Percentage done, 0 to 100: by records read of the record count, or when the table holds no
// count, by the bytes of the records read of the file's size.
int ProgressPercent(long long done, long long total);

}  // namespace vesp
