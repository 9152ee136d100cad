#include "querywizard/choice_windows.h"

#include <array>

#include "querywizard/display_text.h"
#include "querywizard/hooks.h"
#include "querywizard/query_store.h"
#include "runtime/gui/beep.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

using namespace vrt;

struct ChoiceButton {
  const char* use;
  const char* text;
  const char* icon;
  int result;
};

constexpr std::array<ChoiceButton, 4> kQueryOptions{{
    {"?SelectSaved", "&Select a Previously Saved Query", "FIND.ICO", 1},
    {"?CreateNew", "&Create a New Query", "INSERT.ICO", 2},
    {"?NoQuery", "&Do Not Apply a Query", "DELETE.ICO", 4},
    {"?CancelQuery", "Cancel &Without Continuing", "SCANCEL.ICO", 3},
}};

constexpr std::array<ChoiceButton, 3> kCombineChoices{{
    {"?NoJoin", " &Do Not Join to Previous Query", "SCANCEL.ICO", 0},
    {"?AndJoin", " &AND Join to Previous Query", "INSERT.ICO", 30},
    {"?OrJoin", " &OR Join to Previous Query", "MARK.ICO", 40},
}};

// A window of buttons, each ending it with its result; closing gives `closed`.
template <std::size_t N>
int runButtons(std::string caption, std::string_view procedure, const std::array<ChoiceButton, N>& buttons,
               int closed) {
  if (ThreadNumber() == 0) return closed;
  WindowSpec design = windowSpec(std::move(caption), std::string(procedure));
  design.controls.push_back(prompt("Please Select a Query Option"));
  for (const ChoiceButton& b : buttons) design.controls.push_back(button(b.use, b.text).icon(b.icon));
  design.alertKeys = {kEscKey};
  Window window(std::move(design));
  window.open();
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return closed;
    if (e.event == kEventAlertKey && e.key == kEscKey) return closed;
    if (e.event != kEventAccepted) continue;
    if (const Control* c = window.control(e.control))
      for (const ChoiceButton& b : buttons)
        if (c->use() == b.use) return b.result;
  }
}

WindowSpec savedQueriesWindow(bool forWizard, bool joins) {
  WindowSpec design = windowSpec(displayText(202), std::string(kSavedQueriesProcedure));
  ControlSpec select = button("?Select", displayText(217)).tip(displayText(215)).help(displayText(216));
  if (forWizard) select = std::move(select).makeDefault();
  else select = std::move(select).makeDisabled();
  std::vector<ControlSpec> buttons{std::move(select), button("?Insert", displayText(214)).tip(displayText(212)).help(displayText(213)),
                                   button("?Change", displayText(205)).tip(displayText(203)).help(displayText(204)),
                                   button("?Delete", displayText(211)).tip(displayText(209)).help(displayText(210))};
  if (joins) {
    buttons.push_back(button("?AndJoin", "&AND Join").icon("INSERT.ICO"));
    buttons.push_back(button("?OrJoin", "&OR Join").icon("MARK.ICO"));
  }
  buttons.push_back(button("?Close", displayText(208)).tip(displayText(206)).help(displayText(207)));
  design.controls = {list("?Queries", {{{}, 60}}, 10).scrolling(), row(std::move(buttons))};
  design.alertKeys = {kInsertKey, kDeleteKey};
  return design;
}

}  // namespace

SavedPick runSavedQueries(WizardSession& session, bool forWizard) {
  if (ThreadNumber() == 0) return {};
  Window window(savedQueriesWindow(forWizard, session.mayCombine()));
  window.open();
  std::vector<SavedQuery> queries;
  auto refill = [&](int keep) {
    queries = listQueries(session.className());
    std::vector<std::vector<std::string>> rows;
    for (const SavedQuery& q : queries) rows.push_back({q.description});
    PagedList* list = window.control("?Queries")->list();
    list->setRows(rows);
    list->setSelectedRow(rows.empty() ? 0 : std::clamp(keep, 1, static_cast<int>(rows.size())));
  };
  refill(1);
  auto selected = [&]() -> const SavedQuery* {
    const int row = window.control("?Queries")->list()->selectedRow();
    return row >= 1 && row <= static_cast<int>(queries.size()) ? &queries[row - 1] : nullptr;
  };
  auto usable = [&](const SavedQuery* q) {
    if (!q) return false;
    if (!q->invalid) return true;
    Beep();
    showMessage(displayText(221), displayText(220));
    return false;
  };
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return {};
    std::string use;
    if (e.event == kEventAlertKey) use = e.key == kInsertKey ? "?Insert" : e.key == kDeleteKey ? "?Delete" : "";
    if (e.event == kEventAccepted)
      if (const Control* c = window.control(e.control)) use = c->use();
    if (use == "?Queries" && forWizard) use = "?Select";
    const SavedQuery* q = selected();
    if (use == "?Close") return {};
    if (use == "?Insert") return {SavedChoice::Insert, 0};
    if (use == "?Change" && q) return {SavedChoice::Change, q->number};
    if (use == "?Select" && forWizard && usable(q)) return {SavedChoice::Select, q->number};
    if ((use == "?AndJoin" || use == "?OrJoin") && session.mayCombine() && usable(q))
      return {use == "?AndJoin" ? SavedChoice::AndJoin : SavedChoice::OrJoin, q->number};
    if (use == "?Delete" && q) {
      const int row = window.control("?Queries")->list()->selectedRow();
      if (hooks().describe(DescriptionRequest::Delete, q->description) && deleteQuery(q->number)) refill(row);
    }
  }
}

std::uint8_t runQueryOption() {
  return static_cast<std::uint8_t>(runButtons(displayText(245), kQueryOptionProcedure, kQueryOptions, 0));
}

int runCombineQueries() { return runButtons(displayText(246), kCombineProcedure, kCombineChoices, 0); }

}  // namespace qrywiz
