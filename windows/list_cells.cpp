#include "windows/list_cells.h"

#include "records/thread_dictionary.h"
#include "runtime/expr/bindings.h"

namespace vesp {

std::vector<vrt::ListColumn> ListColumnsOf(const std::vector<BrowseColumn>& columns) {
  std::vector<vrt::ListColumn> out;
  for (const BrowseColumn& c : columns) {
    vrt::ListColumn l = c.secondHeader.empty() ? vrt::column(c.header, c.width, c.picture)
                                               : vrt::groupColumn(c.header, c.width, c.secondHeader, c.secondWidth);
    if (!c.secondHeader.empty()) l.picture = c.picture;
    l.align = c.rightAligned ? vrt::ColumnAlign::Right : c.align;
    out.push_back(std::move(l));
  }
  return out;
}

ValueRef ValueOf(const FieldRef& ref) {
  const auto& fields = TableFile(*ref.table).schema().fields;
  return ValueRef::ofField(Buffer(*ref.table), fields[static_cast<std::size_t>(ref.field)]);
}

ListCells::ListCells(const std::vector<BrowseColumn>& columns, const std::vector<FieldRef>& hidden,
                     const std::vector<const dict::TableDecl*>& lookupTables) {
  for (const BrowseColumn& c : columns) {
    add(c.field, c.compute);
    if (!c.secondHeader.empty()) add(c.secondField, c.secondCompute);
  }
  shown_ = values_.size();
  for (const FieldRef& f : hidden) add(f, {});
  for (const dict::TableDecl* t : lookupTables) {
    FileManager& f = Access(*t);
    if (f.Open() == Level::Benign) opened_.push_back(&f);
  }
}

ListCells::~ListCells() {
  for (const std::string& name : bound_) vrt::expr::unbindName(name);
  for (FileManager* f : opened_) static_cast<void>(f->Close());
}

void ListCells::add(const FieldRef& field, const std::function<std::string()>& compute) {
  values_.push_back({field, compute});
  if (field.table || field.local.empty() || locals_.count(field.local)) return;
  vrt::expr::bindName(field.local, &locals_[field.local]);
  bound_.push_back(field.local);
}

FieldPairs ListCells::Pairs() {
  FieldPairs fields;
  for (const Value& v : values_) {
    if (v.field.table) {
      fields.AddPair(ValueOf(v.field));
      continue;
    }
    std::string* local = &locals_[v.field.local];
    fields.AddPair(ValueRef{[local] { return vrt::expr::Value::text(*local); }, {}, true});
  }
  return fields;
}

void ListCells::ComputeRow() {
  for (const Value& v : values_)
    if (v.compute && !v.field.local.empty()) locals_[v.field.local] = v.compute();
}

}  // namespace vesp
