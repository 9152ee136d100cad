#include "windows/child_list.h"

#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "windows/window_controller.h"

namespace vesp {

namespace {

ValueRef valueOf(const FieldRef& ref) {
  const auto& fields = TableFile(*ref.table).schema().fields;
  return ValueRef::ofField(Buffer(*ref.table), fields[static_cast<std::size_t>(ref.field)]);
}

}  // namespace

ChildList::ChildList(WindowController& form, vrt::Window& window, const ChildListDecl& decl, bool viewOnly)
    : relate_(Relate(*decl.table)),
      opened_(relate_.Open() == Level::Benign),
      view_(TableFile(*decl.table)),
      list_(window, window.number(decl.list), decl.columns.size()) {
  BrowseManager& b = browse_;
  b.Setup(list_, view_, queue_, relate_, &form);
  for (const FieldRef& f : decl.fields) b.FIELDS.AddPair(valueOf(f));
  b.AddKeyOrder(nullptr, decl.key);
  const int link = TableFile(*decl.table).schema().keys[static_cast<std::size_t>(decl.key)].components.front();
  b.LimitBy(link, valueOf(decl.parent));
  b.SelectOrder(1);
  b.HASTHUMB = false;
  b.USEPOPUP = !viewOnly;
  if (viewOnly) {
    // Preparing a new child would number one for a form that is never shown.
    for (const std::string& use : {decl.insert, decl.change, decl.remove})
      if (vrt::Control* c = window.control(use)) c->setDisabled(true);
    return;
  }
  b.ASKPROCEDURE = decl.call;
  b.INSERTCONTROL = window.number(decl.insert);
  b.CHANGECONTROL = window.number(decl.change);
  b.DELETECONTROL = window.number(decl.remove);
}

ChildList::~ChildList() {
  browse_.Shutdown();
  if (opened_) relate_.Close();
}

}  // namespace vesp
