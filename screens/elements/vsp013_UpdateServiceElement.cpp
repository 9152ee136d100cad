// vsp013: one element of a service. The bibliography entry's title and duration are copied
// in when it is chosen, and stay as they are when the entry changes later; the performer and
// the group are kept by number and shown by name.
#include <limits>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/text/utf8.h"
#include "screens/elements/elements.h"
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

LookupDecl bibliography() {
  LookupDecl l = lookupInto("?CALLLOOKUP", 1, tables::Bibliography, BBL::keys::BibliographyNumberKey, BBL::BIBLIOGRAPHYNUMBER);
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
  LookupDecl l = lookupInto("?CALLLOOKUP:2", 2, tables::ElementType, ELT::keys::ElementTypeKey, ELT::ELEMENTTYPE);
  return l;
}

LookupDecl performer() {
  LookupDecl l = lookupInto("?CALLLOOKUP:3", 3, tables::Performers, PER::keys::PerformersNumberKey, PER::PERFORMERSNUMBER);
  l.display = "?LOC:PerformerName";
  l.text = [] {
    const vrt::RecordRef p = record(tables::Performers);
    const std::string first = p.get(PER_FIRSTNAME);
    return std::string(vrt::clip(first)) + " " + p.get(PER_LASTNAME);
  };
  return l;
}

LookupDecl group() {
  LookupDecl l = lookupInto("?CALLLOOKUP:4", 4, tables::PerformerGroupHeader, PGH::keys::PerformerGroupHeaderNumberKey, PGH::PERFORMERGROUPNUMBER);
  l.textField = PGH::DESCRIPTION;
  l.display = "?LOC:PerformerGroupName";
  return l;
}

ChildListDecl associatedFiles() {
  ChildListDecl c;
  c.list = "?List:AssociatedFiles";
  c.columns = {vrt::column("Type", 15, "@s30"), vrt::column("Description", 25, "@s50"),
               vrt::column("File Location", 40, "@s100")};
  c.hyperlinkColumn = 3;
  c.call = 5;
  c.table = &tables::AssociatedFiles;
  c.key = ASF::keys::ElementNumberKey;
  c.parent = sel(SEL::ELEMENTNUMBER);
  c.fields = {{tables::AssociatedFiles, ASF::TYPE},
              {tables::AssociatedFiles, ASF::DESCRIPTION},
              {tables::AssociatedFiles, ASF::FILELOCATION}};
  return c;
}

// The files added to a new element that was then cancelled: its number will be given to
// the next new element, which must not inherit them.
void deleteFilesOf(std::int32_t element) {
  if (element == 0) return;
  FileManager& files = Access(tables::AssociatedFiles);
  if (files.Open() != Level::Benign) return;
  int saved = files.SaveState();
  vrt::RecordRef file = *files.BUFFER;
  for (;;) {
    file.set(ASF_ELEMENTNUMBER, element);
    file.set(ASF_ASSOCIATEDFILESNUMBER, std::numeric_limits<std::int32_t>::min());
    files.FILE->setToValue(ASF::keys::ElementNumberKey);
    if (files.Next(false) != Level::Benign || file.get(ASF_ELEMENTNUMBER) != element) break;
    if (files.Delete(false) != Level::Benign) break;
  }
  files.RestoreState(saved);
  files.Close();
}

constexpr const char* kNewElement = "LOC:NewElement";

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
          field("Duration:", "?SEL:DURATION", sel(SEL::DURATION)),
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
    d.calls = {{1, BrowseBibliography},
               {2, ProcedureNamed("BrowseElementType")},
               {3, ProcedureNamed("BrowsePerformers")},
               {4, ProcedureNamed("BrowsePerformerGroupHeader")},
               {5, updateElementFile}};
    d.prime = [](FormScreen& form) { form.LocalNumber(kNewElement) = record(tables::ServiceElement).get(SEL_ELEMENTNUMBER); };
    d.abandon = [](FormScreen& form) { deleteFilesOf(form.LocalNumber(kNewElement)); };
    return d;
  }();
  return f;
}

}  // namespace

void UpdateServiceElement() { RunForm(form()); }

}  // namespace vesp
