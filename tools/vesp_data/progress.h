#pragma once
// A progress bar on standard error, drawn only when someone is watching (a terminal).
#include <cstdint>
#include <string>

namespace vesp::tools {

class Progress {
 public:
  Progress(std::string label, std::int64_t total);
  ~Progress();
  void advance(std::int64_t by = 1);
  void finish();

 private:
  void draw();
  std::string label_;
  std::int64_t total_, done_ = 0;
  int lastPercent_ = -1;
  bool visible_;
  bool finished_ = false;
};

}  // namespace vesp::tools
