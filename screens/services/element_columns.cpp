#include "screens/services/element_columns.h"

#include "dictionary/tables.h"
#include "screens/services/display_names.h"
#include "windows/procedures.h"

namespace vesp {

namespace SEL = dict::idx::SEL;

namespace {

const NamedProcedure kUpdateServiceElement{"UpdateServiceElement"};

}  // namespace

std::vector<BrowseColumn> ElementColumns() {
  const auto& t = tables::ServiceElement;
  BrowseColumn pre{"Pre Service", 8, "@s1", {t, SEL::PRESERVICE}};
  pre.align = vrt::ColumnAlign::Center;
  return {{"Title", 30, "@s50", {t, SEL::TITLE}},
          {"Type", 15, "@s30", {t, SEL::TYPE}},
          {"Duration", 8, "@s10", {t, SEL::DURATION}},
          pre,
          localColumn("Performer", 25, "@s50", "LOC:PerformerName",
                      [] { return PerformerName(NumberIn(tables::ServiceElement, SEL::PERFORMER)); })};
}

ChildListDecl ElementList(std::string use) {
  ChildListDecl c;
  c.list = std::move(use);
  c.title = "Browsing Records";
  c.table = &tables::ServiceElement;
  c.key = SEL::keys::ServiceElementKey;
  c.parent = {tables::Service, dict::idx::SER::SERVICENUMBER};
  c.cells = ElementColumns();
  c.hidden = {{tables::ServiceElement, SEL::ELEMENTNUMBER}};
  c.form = kUpdateServiceElement;
  c.lookupTables = {&tables::Performers};
  c.orderField = SEL::ELEMENTORDER;
  return c;
}

}  // namespace vesp
