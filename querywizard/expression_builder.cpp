#include "querywizard/expression_builder.h"


#include "querywizard/drop_calendar.h"
#include "querywizard/expression_functions.h"
#include "querywizard/globals.h"
#include "querywizard/display_text.h"
#include "querywizard/hooks.h"
#include "querywizard/insert_at_cursor.h"
#include "querywizard/qrywiz.h"
#include "runtime/expr/expression.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

using namespace vrt;

constexpr int kDataCategory = 1, kConstantsCategory = 7;

std::string formatted(std::string_view picture, double value) {
  auto p = Picture::parse(picture);
  return p ? std::string(clip(p->format(value))) : std::to_string(static_cast<long long>(value));
}

struct ConstantKind {
  const char* kind;
  const char* caption;
  const char* picture;
};
constexpr ConstantKind kConstantKinds[] = {{"text", "Constant Text", "@s60"},
                                           {"number", "Constant Number", "@N17.2"},
                                           {"date", "Constant Date", "@D17"},
                                           {"time", "Constant Time", "@T3"}};

// The constant window: the text to insert, nullopt on Cancel.
std::optional<std::string> askConstant(const ConstantKind& k, bool sqlSyntax) {
  const std::string kind = k.kind;
  std::string text;
  std::int32_t moment = kind == "date" ? today() : kind == "time" ? clockNow() : 0;
  WindowSpec design = windowSpec(k.caption, std::string(kConstantProcedure));
  std::vector<ControlSpec> line;
  if (kind == "date" || kind == "time") line.push_back(entry("?Value", k.picture, bind(moment)));
  else line.push_back(entry("?Value", k.picture, bind(text)));
  if (kind == "date") line.push_back(button("?Calendar", "..."));
  design.controls = {prompt("Value:"), row(std::move(line)),
                     row({button("?OK", "OK").makeDefault(), button("?Cancel", "Cancel")})};
  Window window(std::move(design));
  window.open();
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return std::nullopt;
    if (e.event != kEventAccepted) continue;
    const Control* c = window.control(e.control);
    if (!c) continue;
    if (c->use() == "?Cancel") return std::nullopt;
    if (c->use() == "?Calendar") {
      window.updateAll();
      moment = QW_DROPCAL(moment, window.number("?Calendar"));
      window.display();
    }
    if (c->use() == "?OK" && window.updateAll() == 0) {
      const std::string entered = kind == "date" || kind == "time" ? std::to_string(moment)
                                                                   : std::string(clip(window.control("?Value")->text()));
      return constantText(kind, kind == "text" ? text : entered, sqlSyntax);
    }
  }
}

WindowSpec builderWindow(std::string& expression) {
  const std::string caption = clip(displayText(247)).empty() ? "Expression Builder" : displayText(247);
  WindowSpec design = windowSpec(caption, std::string(kBuilderProcedure));
  std::vector<ControlSpec> operators;
  for (const BuilderOperator& op : builderOperators()) operators.push_back(button(op.use, op.caption).tip(op.name));
  design.controls = {
      row({region({}, {prompt("Data and function categories:"), list("?Categories", {{{}, 24}}, 8).scrolling()}),
           region({}, {prompt("Data and function names:"), list("?Entries", {{{}, 32}}, 8).scrolling()})}),
      region({}, {prompt({}, "?EntryTitle"), prompt({}, "?EntryDescription")}),
      textBox("?Expression", bind(expression), 4),
      grid(9, std::move(operators)),
      row({button("?Validate", "&Validate"), button("?Clear", "C&lear"), button("?Insert", "&Insert").makeDefault(),
           button("?CancelBuilder", "Cancel")}),
  };
  return design;
}

class Builder {
 public:
  Builder(const std::string& expression, const XBQW_FIELDSQUEUE& fields, bool sql)
      : text_(expression), fields_(fields), sql_(sql), window_(builderWindow(text_)) {}

  std::optional<std::string> run() {
    window_.open();
    std::vector<std::vector<std::string>> categories;
    for (const char* c : kBuilderCategories) categories.push_back({c});
    list("?Categories")->setRows(categories);
    list("?Categories")->setSelectedRow(1);
    fillEntries();
    for (;;) {
      const Event e = window_.accept();
      if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return std::nullopt;
      const Control* c = window_.control(e.control);
      if (!c) continue;
      if (e.event == kEventNewSelection && c->use() == "?Categories") fillEntries();
      if (e.event == kEventNewSelection && c->use() == "?Entries") describe();
      if (e.event != kEventAccepted) continue;
      window_.updateAll();
      if (c->use() == "?Entries") choose();
      for (const BuilderOperator& op : builderOperators())
        if (c->use() == op.use) insert(op.text);
      if (c->use() == "?Clear") {
        text_.clear();
        window_.display();
      }
      if (c->use() == "?Validate") validate();
      if (c->use() == "?Insert" && builtExpressionIsValid(text_, sql_)) return text_;
      if (c->use() == "?CancelBuilder") return std::nullopt;
    }
  }

 private:
  PagedList* list(std::string_view use) { return window_.control(use)->list(); }
  int category() { return std::max(list("?Categories")->selectedRow(), 1); }

  void fillEntries() {
    entries_.clear();
    const int cat = category();
    if (cat == kDataCategory)
      for (const auto& f : fields_) entries_.push_back({std::string(clip(f.QWFLDNAME)), std::string(clip(f.QWFLDNAME)),
                                                        std::string(clip(f.QWFLDDESC))});
    else if (cat == kConstantsCategory)
      entries_ = builderConstants();
    else
      entries_ = builderFunctions(cat, sql_);
    std::vector<std::vector<std::string>> rows;
    for (const BuilderEntry& e : entries_) rows.push_back({e.name});
    list("?Entries")->setRows(rows);
    list("?Entries")->setSelectedRow(rows.empty() ? 0 : 1);
    describe();
  }

  const BuilderEntry* entry() {
    const int row = list("?Entries")->selectedRow();
    return row >= 1 && row <= static_cast<int>(entries_.size()) ? &entries_[row - 1] : nullptr;
  }

  void describe() {
    const BuilderEntry* e = entry();
    window_.control("?EntryTitle")->setText(e ? (category() >= 2 && category() <= 6 ? e->insertText : e->name) : "");
    window_.control("?EntryDescription")->setText(e ? e->description : "");
  }

  void choose() {
    const BuilderEntry* e = entry();
    if (!e) return;
    if (category() != kConstantsCategory) return insert(e->insertText);
    for (const ConstantKind& k : kConstantKinds)
      if (e->insertText == k.kind)
        if (auto text = askConstant(k, sql_)) insert(*text);
  }

  void insert(std::string_view text) {
    insertAtCursor(window_, *window_.control("?Expression"), text);
    text_ = std::string(utf8Truncate(text_, kFilterWidth));
  }

  void validate() {
    const auto result = expr::evaluateText(text_);
    if (result.code != 0) {
      showMessage("Your expression is NOT valid.", "Expression Builder");
      return;
    }
    showMessage("Your expression is valid.||Result: " + std::string(utf8Truncate(result.value.toText(), 60)),
                "Expression Builder");
  }

  std::string text_;
  const XBQW_FIELDSQUEUE& fields_;
  bool sql_;
  Window window_;
  std::vector<BuilderEntry> entries_;
};

}  // namespace

std::string constantText(std::string_view kind, std::string_view entered, bool sqlSyntax) {
  if (kind == "text") return "'" + std::string(clip(entered)) + "'";
  if (kind == "number") return std::string(clip(entered));
  const double value = std::atof(std::string(entered).c_str());
  if (kind == "date") {
    if (sqlSyntax) {
      const std::string picture = clip(XBQW_SqlDatePic).empty() ? "@d10-" : std::string(clip(XBQW_SqlDatePic));
      return "'" + formatted(picture, value) + "'";
    }
    const auto ymd = ymdFromDate(static_cast<DayNumber>(value));
    if (!ymd) return "DATE(0,0,0)";
    return "DATE(" + std::to_string(ymd->month) + "," + std::to_string(ymd->day) + "," + std::to_string(ymd->year) + ")";
  }
  if (sqlSyntax) return "'" + formatted("@t4", value) + "'";
  return "DEFORMAT( '" + formatted("@t3", value) + "', @T3 )";
}

std::optional<std::string> runExpressionBuilder(const std::string& expression, const XBQW_FIELDSQUEUE& fields,
                                                bool sqlSyntax) {
  if (ThreadNumber() == 0) return std::nullopt;
  Builder builder(expression, fields, sqlSyntax);
  return builder.run();
}

}  // namespace qrywiz
