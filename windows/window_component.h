#pragma once
// What the window controller asks of the parts of a window that keep state of their own:
// window components (a browse's list) and file components (a record shown elsewhere).
#include "windows/procedure_codes.h"

namespace vesp {

class WindowComponent {
 public:
  virtual ~WindowComponent() = default;
  virtual void Shutdown() = 0;
  virtual void Reset(bool force) = 0;
  virtual bool ResetRequired() = 0;
  virtual void ArmKeys() = 0;
  // The window's current event; a handled one is not shown to the other components.
  [[nodiscard]] virtual EventResult TakeEvent() = 0;
  virtual void SaveControls() = 0;     // controls into the record
  virtual void RefreshControls() = 0;  // record into the controls
};

class FileComponent {
 public:
  virtual ~FileComponent() = default;
  virtual bool Changed() = 0;  // its record changed since it was read
  virtual void Reread() = 0;
};

}  // namespace vesp
