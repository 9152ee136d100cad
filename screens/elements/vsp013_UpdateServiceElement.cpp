// vsp013: one element of a service. The bibliography entry's title and duration are copied
// in when it is chosen, and stay as they are when the entry changes later; the performer and
// the group are kept by number and shown by name.
#include <algorithm>
#include <functional>
#include <limits>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/text/utf8.h"
#include "screens/elements/elements.h"
#include "screens/elements/service_elements.h"
#include "worship/durations.h"
#include "windows/form_declaration.h"
#include "windows/form_screen.h"
#include "windows/procedures.h"
#include "windows/thread_globals.h"
#include "windows/window_controller.h"

namespace vesp {

namespace {

namespace SEL = dict::idx::SEL;
namespace ASF = dict::idx::ASF;
namespace BBL = dict::idx::BBL;
namespace ELT = dict::idx::ELT;
namespace PER = dict::idx::PER;
namespace PGH = dict::idx::PGH;

FieldRef sel(int field) { return {tables::ServiceElement, field}; }

vrt::RecordRef record(const dict::TableDecl& table) { return Buffer(table); }

const NamedProcedure kBrowseElementType{"BrowseElementType"};
const NamedProcedure kBrowsePerformers{"BrowsePerformers"};
const NamedProcedure kBrowsePerformerGroupHeader{"BrowsePerformerGroupHeader"};

LookupDecl bibliography() {
  LookupDecl l = lookupInto(kLookupButtonUse, BrowseBibliography, tables::Bibliography, BBL::keys::BibliographyNumberKey, BBL::BIBLIOGRAPHYNUMBER);
  l.assign = [] {
    record(tables::ServiceElement).set(SEL_TITLE, record(tables::Bibliography).get(BBL_TITLE));
    record(tables::ServiceElement).set(SEL_DURATION, record(tables::Bibliography).get(BBL_DURATION));
  };
  l.unassign = [] {
    record(tables::ServiceElement).set(SEL_TITLE, "");
    record(tables::ServiceElement).set(SEL_DURATION, "");
  };
  return l;
}

LookupDecl elementType() {
  LookupDecl l = lookupInto("?CALLLOOKUP:2", kBrowseElementType, tables::ElementType, ELT::keys::ElementTypeKey, ELT::ELEMENTTYPE);
  return l;
}

LookupDecl performer() {
  LookupDecl l = lookupInto("?CALLLOOKUP:3", kBrowsePerformers, tables::Performers, PER::keys::PerformersNumberKey, PER::PERFORMERSNUMBER);
  l.display = "?LOC:PerformerName";
  l.text = [] {
    const vrt::RecordRef p = record(tables::Performers);
    const std::string first = p.get(PER_FIRSTNAME);
    return std::string(vrt::clip(first)) + " " + p.get(PER_LASTNAME);
  };
  return l;
}

LookupDecl group() {
  LookupDecl l = lookupInto("?CALLLOOKUP:4", kBrowsePerformerGroupHeader, tables::PerformerGroupHeader, PGH::keys::PerformerGroupHeaderNumberKey, PGH::PERFORMERGROUPNUMBER);
  l.textField = PGH::DESCRIPTION;
  l.display = "?LOC:PerformerGroupName";
  return l;
}

void updateElementFile();

ChildListDecl associatedFiles() {
  ChildListDecl c;
  c.list = "?List:AssociatedFiles";
  c.columns = {vrt::column("Type", 15, "@s30"), vrt::column("Description", 25, "@s50"),
               vrt::column("File Location", 40, "@s100")};
  c.hyperlinkColumn = 3;
  c.form = updateElementFile;
  c.table = &tables::AssociatedFiles;
  c.key = ASF::keys::ElementNumberKey;
  c.parent = sel(SEL::ELEMENTNUMBER);
  c.fields = {{tables::AssociatedFiles, ASF::TYPE},
              {tables::AssociatedFiles, ASF::DESCRIPTION},
              {tables::AssociatedFiles, ASF::FILELOCATION}};
  return c;
}

// The duration stays as typed; the tip says which ways of writing it count in the running time.
FormItem durationField() {
  FormItem f = field("Duration:", "?SEL:DURATION", sel(SEL::DURATION));
  f.tip = std::string("Counts in the running time when written as ") + kDurationForms;
  return f;
}

// A new element comes after the service's last one.
void primeOrder() {
  vrt::RecordRef element = record(tables::ServiceElement);
  const std::int32_t service = element.get(SEL_SERVICENUMBER), self = element.get(SEL_ELEMENTNUMBER);
  if (service == 0 || element.get(SEL_ELEMENTORDER) != 0) return;
  std::int32_t last = 0;
  ForEachElementOf(service, [&](vrt::RecordRef e) {
    if (e.get(SEL_ELEMENTNUMBER) != self) last = std::max(last, e.get(SEL_ELEMENTORDER));
    return true;
  });
  element.set(SEL_ELEMENTORDER, last + 1);
}

constexpr const char* kOrderShown = "LOC:OrderShown";

// Two elements of a service with one order would print in no telling which order: a new
// order, or one the user changed, must be free. Orders stored twice before stay as they are
// until the user changes one.
bool orderIsFree(FormScreen& form) {
  vrt::RecordRef element = record(tables::ServiceElement);
  const std::int32_t service = element.get(SEL_SERVICENUMBER), self = element.get(SEL_ELEMENTNUMBER);
  const std::int32_t order = element.get(SEL_ELEMENTORDER);
  if (service == 0 || (form.REQUEST() == Request::Change && order == form.LocalNumber(kOrderShown))) return true;
  std::string taken;
  ForEachElementOf(service, [&](vrt::RecordRef e) {
    if (e.get(SEL_ELEMENTORDER) > order) return false;
    if (e.get(SEL_ELEMENTORDER) == order && e.get(SEL_ELEMENTNUMBER) != self) taken = e.get(SEL_TITLE);
    return taken.empty();
  });
  if (taken.empty()) return true;
  const std::string why = "Element order " + std::to_string(order) + " is already taken by \"" +
                          std::string(vrt::clip(taken)) + "\" in this service. Choose another order.";
  static_cast<void>(errorManager().RaiseWithText(Msg::NotSaved, why));
  if (form.MYWINDOW()) form.MYWINDOW()->select(form.MYWINDOW()->number("?SEL:ELEMENTORDER"));
  return false;
}

// A new file of the element belongs to the element's service too: the service lists it.
void updateElementFile() {
  if (threadGlobals().GlobalRequest == Request::Insert)
    record(tables::AssociatedFiles).set(ASF_SERVICENUMBER, record(tables::ServiceElement).get(SEL_SERVICENUMBER));
  UpdateAssociatedFiles();
}

const FormDecl& form() {
  static const FormDecl f = [] {
    FormDecl d("UpdateServiceElement", "Update the ServiceElement File", tables::ServiceElement, "Service Element");
    d.captions.insert = "Service Element Will Be Added";
    d.captions.change = "Service Element Will Be Changed";
    d.tabs = {
        {"General",
         {lookupField("Bibliography #:", "?SEL:BIBLIOGRAPHYNUMBER", sel(SEL::BIBLIOGRAPHYNUMBER), bibliography()),
          field("Title:", "?SEL:TITLE", sel(SEL::TITLE)),
          lookupField("Type:", "?SEL:TYPE", sel(SEL::TYPE), elementType()),
          durationField(),
          field("Pre Service Y/N:", "?SEL:PRESERVICE", sel(SEL::PRESERVICE)),
          lookupField("Performer:", "?SEL:PERFORMER", sel(SEL::PERFORMER), performer()),
          lookupField("Performer Group:", "?SEL:PERFORMERGROUP", sel(SEL::PERFORMERGROUP), group()),
          field("Element Order:", "?SEL:ELEMENTORDER", sel(SEL::ELEMENTORDER)),
          dropListField("Tempo:", "?SEL:TEMPO", sel(SEL::TEMPO),
                        {"", "Slow", "Moderately Slow", "Moderate", "Moderately Fast", "Fast"}),
          field("Lights:", "?SEL:LIGHTS", sel(SEL::LIGHTS)),
          field("Instrumentation:", "?SEL:SOUND", sel(SEL::SOUND)),
          textBoxField("Element Notes:", "?SEL:ELEMENTNOTES", sel(SEL::ELEMENTNOTES))}},
        {"Associated Files", {controlItem(vrt::prompt("Browsing Records", "?ListTitle")), childList(associatedFiles())}},
    };
    d.prime = [](FormScreen&) { primeOrder(); };
    d.opened = [](FormScreen& form) { form.LocalNumber(kOrderShown) = record(tables::ServiceElement).get(SEL_ELEMENTORDER); };
    d.validate = orderIsFree;
    return d;
  }();
  return f;
}

}  // namespace

void UpdateServiceElement() { RunForm(form()); }

}  // namespace vesp
