#pragma once
// The record layer for one command, as the program sets it up: the error manager with its
// messages on standard error, every table registered with the upgrader, and this thread's
// copy of the dictionary; all of it undone when the command ends.
#include <ostream>
#include <string>
#include <string_view>

#include "records/error_manager.h"

namespace vesp::tools {

class RecordLayer {
 public:
  explicit RecordLayer(std::ostream& err);
  ~RecordLayer();
  RecordLayer(const RecordLayer&) = delete;
  RecordLayer& operator=(const RecordLayer&) = delete;

 private:
  // Messages go to standard error; a question is answered No, so that nothing is retried
  // or confirmed behind the user's back.
  class ToolDisplay : public MessageDisplay {
   public:
    explicit ToolDisplay(std::ostream& err) : err_(err) {}
    int ShowMessage(std::string_view text, std::string_view title, MessageIcon, int buttons,
                    int defaultButton) override;
    int ShowHistory(const std::vector<HistoryRow>&, int) override { return Button::Ok; }

   private:
    std::ostream& err_;
  };
  ToolDisplay display_;
};

}  // namespace vesp::tools
