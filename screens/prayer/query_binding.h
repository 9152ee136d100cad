#pragma once
// The saved queries of the prayer-request browse: a "Saved Queries:" drop list with its
// "Change" and "Delete" buttons, kept beside the browse list. Choosing an entry runs the
// query wizard or reads a saved query, and the filter that results is the browse's filter
// "6 Query" (an empty one shows every record). The state lives with one browse window on
// its thread and goes when it closes:
//   - the offered fields, registered when the browse opens;
//   - the saved-queries list, "All Records" and "Custom Query..." first, then the saved
//     queries in the order of their sort key ("3" and the upper-cased description);
//   - the entry in force (its description is the wizard's description variable, its
//     number the selected query's) and the filter text, 1,024 bytes.
// A saved query that mentions RUNTIMECATEGORY asks for a category (the prayer-category
// browse) each time it is applied. "Print &Query" hands the filter and the description to
// the report that prints them.
#include <memory>
#include <string>
#include <vector>

#include "querywizard/lists.h"
#include "runtime/expr/bindings.h"
#include "runtime/gui/window_design.h"
#include "windows/window_component.h"

namespace vesp {

class BrowseScreen;

inline constexpr const char* kSavedQueriesUse = "?SavedQueries";
inline constexpr const char* kQueryChangeUse = "?QueryChange";
inline constexpr const char* kQueryDeleteUse = "?QueryDelete";
inline constexpr const char* kPrintQueryUse = "?PrintQuery";
inline constexpr const char* kQueryFilterName = "6 Query";

class QueryBinding : public WindowComponent {
 public:
  // The controls the browse's window carries for it, above its list.
  static std::vector<vrt::ControlSpec> Controls();

  // Registers the fields, binds RUNTIMECATEGORY and fills the drop list on "All Records".
  explicit QueryBinding(BrowseScreen& browse);
  ~QueryBinding() override;

  void Shutdown() override {}
  void Reset(bool) override {}
  bool ResetRequired() override { return false; }
  void ArmKeys() override;
  [[nodiscard]] EventResult TakeEvent() override;
  void SaveControls() override {}
  void RefreshControls() override {}

  const std::string& Filter() const { return filter_; }
  const std::string& Description() const { return current_.description; }
  const qrywiz::XBQW_QUERIESQUEUE& Queries() const { return queries_; }

 private:
  void choose(int entry);
  void change();
  void remove();
  void printQuery();
  void addQuery(std::int32_t number);
  void applyRuntimeCategory();
  void select(int entry);  // shows it, as a posted new selection would
  void enableButtons();
  void install();
  int selected() const;
  int entryOf(std::int32_t number) const;

  BrowseScreen& browse_;
  vrt::expr::BindingScope names_;
  qrywiz::XBQW_FIELDSQUEUE fields_;
  qrywiz::XBQW_QUERIESQUEUE queries_;
  qrywiz::XBQW_QUERIESQUEUE_Record current_;
  std::string filter_;
  bool usable_ = true;  // the wizard could start: its fields were registered
};

}  // namespace vesp
