#include "windows/validation.h"

#include "runtime/gui/control.h"
#include "runtime/os/thread_state.h"

namespace vesp {

namespace {
struct ValidationState {
  bool running = false;
};
}  // namespace

int ValidateAllControls(vrt::Window& window) {
  ValidationState& state = vrt::perThread<ValidationState>();
  state.running = true;
  int rejected = 0;
  for (const auto& c : window.controls()) {
    if (!c->binding().bound() || c->readOnly()) continue;
    if (!c->update()) {
      rejected = c->number();
      break;
    }
  }
  state.running = false;
  if (rejected) window.post(vrt::kEventRejected, rejected);
  return rejected;
}

bool ValidatingAllControls() { return vrt::perThread<ValidationState>().running; }

}  // namespace vesp
