#pragma once
// A second list on a window: the records of a child table that belong to the parent record
// in the window's buffer (a service's elements, a series' publicity), paged by a browse of
// their own and refilled whenever the parent's value moves or a form may have changed them.
// Its buttons run the child form through the owning window's call table; a new child record
// is primed with the parent's value.
#include <memory>

#include "runtime/gui/window.h"
#include "windows/browse_manager.h"
#include "windows/browse_screen.h"
#include "windows/form_declaration.h"
#include "windows/list_cells.h"
#include "windows/window_controller.h"

namespace vesp {

class ChildBrowse {
 public:
  ChildBrowse(WindowController& owner, const ChildListDecl& decl);
  ~ChildBrowse();

  // Once the window is built; the list fills when the window first shows. A view-only
  // list shows and calls nothing (a new child would number a record for nothing).
  void Attach(vrt::Window& window, bool viewOnly = false);
  // The next refresh of the window refills the list from the table.
  void MarkStale();
  BrowseManager& Browse();

 private:
  class Manager;
  WindowController& owner_;
  const ChildListDecl& decl_;
  ListCells cells_;
  std::unique_ptr<vrt::View> view_;
  ListQueue queue_;
  std::unique_ptr<PagedListControl> list_;
  std::unique_ptr<Manager> browse_;
};

// Deletes the records a declared child list lists for the parent value `parent` (with
// what their own relations take along): the children of a new record the user gave up
// on, whose number the next new record will be given.
void DeleteChildRecords(const ChildListDecl& decl, const vrt::store::KeyValue& parent);

// The controls of a declared child list: its title, the list, and its buttons.
std::vector<vrt::ControlSpec> ChildListControls(const ChildListDecl& decl);

}  // namespace vesp
