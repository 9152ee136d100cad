#pragma once
// A child list on a form's tab: a browse of the child records that belong to the form's
// record (the child key's first component held to the form's field), whose Insert, Change
// and Delete buttons run the child form through the form's call table. A new child gets
// the form's value in its linking field; the list follows the form's record when that
// value changes.
#include <memory>

#include "runtime/gui/window.h"
#include "runtime/store/view.h"
#include "windows/browse_manager.h"
#include "windows/browse_screen.h"
#include "windows/form_declaration.h"

namespace vesp {

class ChildList {
 public:
  // The child table is opened here and closed when the list goes. In view mode the list
  // only shows: its buttons are disabled and call nothing.
  ChildList(WindowController& form, vrt::Window& window, const ChildListDecl& decl, bool viewOnly);
  ~ChildList();
  ChildList(const ChildList&) = delete;
  ChildList& operator=(const ChildList&) = delete;

  BrowseManager& Browse() { return browse_; }

 private:
  RelationManager& relate_;
  bool opened_ = false;
  vrt::View view_;
  ListQueue queue_;
  PagedListControl list_;
  BrowseManager browse_;
};

}  // namespace vesp
