// vsp027: one file of a service element, typed from the element-type list.
#include "dictionary/tables.h"
#include "screens/elements/elements.h"
#include "windows/form_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace ASF = dict::idx::ASF;
namespace ELT = dict::idx::ELT;

const NamedProcedure kBrowseElementType{"BrowseElementType"};

const FormDecl& form() {
  static const FormDecl f = [] {
    FormDecl d("UpdateAssociatedFiles", "Update the AssociatedFiles File", tables::AssociatedFiles, "Associated Files");
    LookupDecl type = lookupInto(kLookupButtonUse, kBrowseElementType, tables::ElementType, ELT::keys::ElementTypeKey, ELT::ELEMENTTYPE);
    d.tabs = {{"General",
               {lookupField("Type:", "?ASF:TYPE", {tables::AssociatedFiles, ASF::TYPE}, type),
                field("Description:", "?ASF:DESCRIPTION", {tables::AssociatedFiles, ASF::DESCRIPTION}),
                fileField("File Location:", "?ASF:FILELOCATION", {tables::AssociatedFiles, ASF::FILELOCATION},
                          "?LOOKUPFILE", "?VIEWFILE")}}};
    return d;
  }();
  return f;
}

}  // namespace

void UpdateAssociatedFiles() { RunForm(form()); }

}  // namespace vesp
