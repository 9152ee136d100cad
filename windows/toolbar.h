#pragma once
// The frame toolbar's navigation and record buttons (3001-3013), routed to whichever list
// or form the user works in. Each window has a Toolbar with one target per list (keyed by
// the list's control number) or one for the form (key -1). The current target turns a
// pressed button into a scroll event, a button press or a navigation request, and says
// which buttons are enabled and what their tips read.
//
//   toolbar.AddTarget(formTarget, -1);   // a form: current at once
//   toolbar.SetTarget(0);                // the last target that wants the toolbar
//   toolbar.DisplayButtons();            // enable/disable the frame's buttons
//   toolbar.TakeEvent(action);           // an accepted toolbar button
#include <string>
#include <utility>
#include <vector>

#include "runtime/gui/events.h"
#include "windows/procedure_codes.h"

namespace vrt {
class Window;
}

namespace vesp {

class WindowController;
class WindowComponent;

// The buttons the toolbar drives, by number; on the open frame unless a test gives others.
class ToolbarButtons {
 public:
  // The window whose controls 3000-3019 are the toolbar's buttons (the frame by default).
  static vrt::Window* window();
  static void SetEnabled(vrt::ToolbarAction button, bool enabled);
  // Every button numbered from `first` to `last`.
  static void SetEnabled(vrt::ToolbarAction first, vrt::ToolbarAction last, bool enabled);
  static void SetTip(vrt::ToolbarAction button, const std::string& tip);
  // Each entry of a packed tip list sets its button's tip.
  static void ApplyTips(const std::string& packed);
  // Back to the frame's own state: every button enabled with its own tip.
  static void Restore();
};

class ToolbarTarget {
 public:
  virtual ~ToolbarTarget() = default;
  int CONTROL = 0;  // the target's control (a browse's list)
  int HELPBUTTON = 0;
  int INSERTBUTTON = 0;
  int CHANGEBUTTON = 0;
  int DELETEBUTTON = 0;
  int SELECTBUTTON = 0;
  int LOCATEBUTTON = 0;
  WindowController* WINDOW = nullptr;  // set when the target is added to a window's toolbar

  virtual void DisplayButtons();
  virtual void SetTips();
  // Whether this target wants to be the current one (a willing target sets its tips).
  virtual bool TryTakeToolbar();
  // Whether its window is the one the user works in (or no window is), so that the
  // frame's buttons, which all windows share, are this target's to set.
  bool OnActiveWindow() const;
  // An accepted toolbar button.
  virtual void TakeToolbar(vrt::ToolbarAction action);

 protected:
  // Presses one of the window's own buttons when it exists and is enabled.
  void pressOwnButton(int control);
  bool ownButtonUsable(int control) const;
  void routeRecordButton(vrt::ToolbarAction action);
};

class BrowseToolbarTarget : public ToolbarTarget {
 public:
  WindowComponent* BROWSE = nullptr;
  void DisplayButtons() override;
  void SetTips() override;
  bool TryTakeToolbar() override;
  void TakeToolbar(vrt::ToolbarAction action) override;
};

class FormToolbarTarget : public ToolbarTarget {
 public:
  Request REQUEST = Request::None;  // the form's original request; set when added to the window
  bool HISTORY = false;
  void DisplayButtons() override;
  void SetTips() override;
  bool TryTakeToolbar() override;
  void TakeToolbar(vrt::ToolbarAction action) override;
};

class Toolbar {
 public:
  struct Entry {
    int id;
    ToolbarTarget* target;
  };
  std::vector<Entry> LIST;
  ToolbarTarget* CURRENT = nullptr;

  void Init();
  // Puts the buttons back to the frame's own state when this toolbar had set them and its
  // window is the active one.
  void Kill();
  // Keyed insert: a target with the same identifier is replaced.
  void AddTarget(ToolbarTarget& target, int id);
  // With an identifier that target becomes current and sets its tips; with 0 the last
  // target that wants the toolbar does.
  void SetTarget(int id);
  // The current target sets the buttons' state and tips, while its window is the active one.
  void DisplayButtons();
  // Hands an accepted toolbar button to the current target; false when there is no target.
  bool TakeEvent(vrt::ToolbarAction action);
  ToolbarTarget* Target(int id) const;

 private:
  bool touched_ = false;
};

}  // namespace vesp
