#include "windows/work_progress.h"

#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace vesp {

namespace {

using namespace vrt;

constexpr int kEventTurn = kEventUser + 0x57;
int tickInterval = 1;

WindowSpec progressDesign(std::string caption, bool cancellable) {
  WindowSpec design = windowSpec(std::move(caption), WorkProgress::kProcedure);
  ControlSpec cancel = button("?Cancel", "&Cancel").makeCancel();
  design.controls = {prompt(std::string(60, ' '), "?What"), progress("?Progress", 0, 100),
                     cancellable ? std::move(cancel) : std::move(cancel).makeHidden()};
  return design;
}

}  // namespace

WorkProgress::WorkProgress(std::string caption, bool cancellable)
    : window_(std::make_unique<Window>(progressDesign(std::move(caption), cancellable))) {
  window_->open();
}

WorkProgress::~WorkProgress() = default;

void WorkProgress::SetTickInterval(int hundredths) { tickInterval = hundredths > 0 ? hundredths : 1; }

void WorkProgress::show(std::string_view what, int percent) {
  if (Control* c = window_->control("?What")) c->setText(what);
  if (Control* c = window_->control("?Progress")) c->setValue(std::to_string(percent));
}

bool WorkProgress::waitFor(int event) {
  for (;;) {
    const Event e = window_->accept();
    if (e.event == event) return !cancelled_;
    if (e.event == kEventCloseDown) {
      cancelled_ = true;
      return false;
    }
    // Cancel or the close box: the work stops at its next turn.
    if (e.event == kEventCloseWindow || (e.event == kEventAccepted && e.control == window_->number("?Cancel"))) {
      cancelled_ = true;
      if (event == kEventTimer) return false;
    }
  }
}

bool WorkProgress::pause() {
  if (ThreadNumber() == 0) return !cancelled_;
  YieldThread();
  // Behind whatever came for the window meanwhile (a press of Cancel).
  window_->post(kEventTurn);
  return waitFor(kEventTurn);
}

bool WorkProgress::waitForTick() {
  if (ThreadNumber() == 0) return !cancelled_;
  if (!ticking_) {
    window_->setTimer(tickInterval);
    ticking_ = true;
  }
  return waitFor(kEventTimer);
}

}  // namespace vesp
