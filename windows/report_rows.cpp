#include "windows/report_rows.h"

#include "windows/timed_batches.h"

namespace vesp {

namespace {

class Computed : public ReportRowSource {
 public:
  Computed(ComputeLines compute, bool emptyWithoutDetails)
      : compute_(std::move(compute)), emptyWithoutDetails_(emptyWithoutDetails) {}

  bool next(ReportLine& line) override {
    if (!computed_) {
      computed_ = true;
      failed_ = !compute_(lines_, error_);
      if (failed_) lines_.clear();
      for (const ReportLine& l : lines_) details_ += l.kind == ReportLine::Detail;
    }
    if (at_ >= lines_.size()) return false;
    line = std::move(lines_[at_++]);
    if (line.kind == ReportLine::Detail) ++read_;
    return true;
  }
  int percent() const override {
    return computed_ ? ProgressPercent(static_cast<long long>(at_), static_cast<long long>(lines_.size())) : 0;
  }
  long read() const override { return read_; }
  bool empty() const override { return computed_ && !failed_ && emptyWithoutDetails_ && details_ == 0; }
  std::string error() const override { return failed_ ? error_ : std::string(); }

 private:
  ComputeLines compute_;
  bool emptyWithoutDetails_;
  std::vector<ReportLine> lines_;
  std::size_t at_ = 0;
  long read_ = 0, details_ = 0;
  bool computed_ = false, failed_ = false;
  std::string error_;
};

}  // namespace

std::unique_ptr<ReportRowSource> ComputedRows(ComputeLines compute, bool emptyWithoutDetails) {
  return std::make_unique<Computed>(std::move(compute), emptyWithoutDetails);
}

}  // namespace vesp
