#pragma once
// The small windows the print preview opens: jump to a page, change the display, pages to
// print, the output chooser and the export progress window.
#include <memory>
#include <string>
#include <vector>

namespace vrt {
class Window;
}

namespace vesp {

// "Jump to a Report Page": the page chosen (1..count), or 0 when cancelled.
int AskJumpPage(int current, int count);
// "Change the Report Display": false when cancelled (the counts are then untouched).
bool AskDisplay(int& across, int& down);
// "Pages to Print": the text, at most 255 characters; false when cancelled.
bool AskPagesToPrint(std::string& text, int pageCount);

// "Select an Output": 1 for "Print" (when offered), then one number per generator name in
// order; 0 when cancelled.
int ChooseOutput(bool offerPrint, const std::vector<std::string>& generators);

// "Progress...": shown while pages are written out.
class ExportProgress {
 public:
  ExportProgress(const std::string& target, int pages);
  ~ExportProgress();
  void pageDone(int done);
  std::string pageText() const;

 private:
  std::unique_ptr<vrt::Window> window_;
  int pages_;
  int shownPercent_ = -1;
};

}  // namespace vesp
