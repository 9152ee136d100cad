#pragma once
// The window that shows how far long work has come (a line of text and a bar), on the
// thread doing the work, with a Cancel button when the work can stop. The work runs on the
// thread itself and gives the program a turn now and then, so that the window paints and
// hears Cancel: no nested event loop, the thread takes events until its turn is over.
#include <memory>
#include <string>
#include <string_view>

namespace vrt {
class Window;
}

namespace vesp {

class WorkProgress {
 public:
  static constexpr const char* kProcedure = "WorkProgress";

  WorkProgress(std::string caption, bool cancellable);
  ~WorkProgress();
  WorkProgress(const WorkProgress&) = delete;
  WorkProgress& operator=(const WorkProgress&) = delete;

  void show(std::string_view what, int percent);
  // One turn of the program, then the work goes on at once. False once the user has
  // cancelled (or the thread is closing down).
  bool pause();
  // For work done in timed steps: waits for the window's next timer tick. False once the
  // user has cancelled (or the thread is closing down).
  bool waitForTick();
  bool cancelled() const { return cancelled_; }

  // Hundredths of a second between ticks, for every progress window opened afterwards;
  // tests set a long one and fire the ticks themselves.
  static void SetTickInterval(int hundredths);

 private:
  bool waitFor(int event);
  std::unique_ptr<vrt::Window> window_;
  bool cancelled_ = false;
  bool ticking_ = false;
};

}  // namespace vesp
