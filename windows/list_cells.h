#pragma once
// The values the rows of a declared list carry: record fields of the thread's buffers and
// screen locals worked out for each row from the record just read. The locals are bound by
// name for the expression evaluator while the list exists, and the look-up tables their
// computations read stay open as long.
#include <map>
#include <string>
#include <vector>

#include "records/field_pairs.h"
#include "runtime/gui/window_design.h"
#include "windows/form_declaration.h"

namespace vesp {

class FileManager;

// The list control's columns for declared columns (a group column stays one column).
std::vector<vrt::ListColumn> ListColumnsOf(const std::vector<BrowseColumn>& columns);
// A live value of a table field.
ValueRef ValueOf(const FieldRef& ref);

class ListCells {
 public:
  ListCells(const std::vector<BrowseColumn>& columns, const std::vector<FieldRef>& hidden,
            const std::vector<const dict::TableDecl*>& lookupTables);
  ~ListCells();
  ListCells(const ListCells&) = delete;
  ListCells& operator=(const ListCells&) = delete;

  // One pair per value of a row, in row order: the shown ones, then the hidden ones.
  FieldPairs Pairs();
  // The values a row shows (a group column shows two).
  std::size_t ShownValues() const { return shown_; }
  // Works out every local for the record just read.
  void ComputeRow();
  const std::string& Local(const std::string& name) { return locals_[name]; }

 private:
  struct Value {
    FieldRef field;
    std::function<std::string()> compute;
  };
  void add(const FieldRef& field, const std::function<std::string()>& compute);

  std::vector<Value> values_;
  std::size_t shown_ = 0;
  std::map<std::string, std::string> locals_;  // nodes stay put: bound by address
  std::vector<std::string> bound_;
  std::vector<FileManager*> opened_;
};

}  // namespace vesp
