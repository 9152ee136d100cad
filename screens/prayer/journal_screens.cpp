// vsp053 BrowseBlessings, vsp054 UpdateBlessings, vsp056 BrowsePraises, vsp057 UpdatePraises,
// vsp061 BrowseJournal, vsp062 UpdateJournal: one table row per kind of entry.
#include "screens/prayer/journal_screens.h"

#include <vector>

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/gui/control.h"
#include "runtime/text/dates.h"
#include "screens/prayer/categories.h"
#include "screens/prayer/journal_conventions.h"
#include "screens/prayer/journal_reports.h"
#include "windows/browse_screen.h"
#include "windows/form_screen.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

struct JournalKind {
  const char *browse, *form;
  const dict::TableDecl& table;
  int number, text, date, category;  // category -1: none
  int numberKey, dateKey;
  const char *browseCaption, *formCaption, *tab;
  const char *textPrompt, *datePrompt;
  const char *numberHeading, *textHeading, *dateHeading, *dateTab, *numberTab;
  const NamedProcedure& report;
  void (*categoryBrowse)();  // nullptr: no category
};

const NamedProcedure kReportBlessings{"ReportBlessings"};
const NamedProcedure kReportPraises{"ReportPraises"};
const NamedProcedure kReportJournal{"ReportJournal"};

// The praise form asks for a "Blessing" on a "Blessing Date:", and every browse's list is
// titled after the blessings: that is how the screens read.
const JournalKind kKinds[] = {
    {"BrowseBlessings", "UpdateBlessings", tables::Blessings, dict::idx::BLE::BLESSINGNUMBER, dict::idx::BLE::BLESSING,
     dict::idx::BLE::BLESSINGDATE, -1, dict::idx::BLE::keys::BlessingNumberKey, dict::idx::BLE::keys::BlessingDateKey,
     "Browse the Blessings File", "Form Blessings", "Blessing", "Blessing", "Blessing Date:", "Blessing #", "Blessing",
     "Blessing Date ", "Blessing Date", "Blessing #", kReportBlessings, nullptr},
    {"BrowsePraises", "UpdatePraises", tables::Praises, dict::idx::PRS::PRAISENUMBER, dict::idx::PRS::PRAISE,
     dict::idx::PRS::PRAISEDATE, -1, dict::idx::PRS::keys::PraiseNumberKey, dict::idx::PRS::keys::PraiseDateKey,
     "Browse the Praises File", "Form Praises", "Praise", "Blessing", "Blessing Date:", "Praise #", "Praise",
     "Praise Date", "Praise Date", "Praise #", kReportPraises, nullptr},
    {"BrowseJournal", "UpdateJournal", tables::Journal, dict::idx::JOU::JOURNALNUMBER, dict::idx::JOU::JOURNALENTRY,
     dict::idx::JOU::JOURNALDATE, dict::idx::JOU::JOURNALCATEGORY, dict::idx::JOU::keys::JournalNumberKey,
     dict::idx::JOU::keys::JournalDateKey, "Browse the Journal File", "Form Journal", "Entry", "Journal Entry:",
     "Date:", "Journal #", "Journal Entry", "Date", "Date", "Journal #", kReportJournal, BrowseJournalCategory},
};

constexpr const char* kNumberUse = "?Number";
constexpr const char* kTextUse = "?Text";
constexpr const char* kDateUse = "?Date";
constexpr const char* kCategoryUse = "?Category";
constexpr const char* kPrintUse = "?Print";

// A viewed entry keeps its number, date and category; its text stays open to read.
void viewOnly(FormScreen& form) {
  if (form.REQUEST() != Request::View) return;
  for (const char* use : {kNumberUse, kDateUse, kCategoryUse})
    if (vrt::Control* c = form.MYWINDOW()->control(use)) c->setReadOnly(true);
  for (const char* use : {kCalendarButtonUse, kLookupButtonUse})
    if (vrt::Control* c = form.MYWINDOW()->control(use)) c->setDisabled(true);
}

FormDecl formOf(const JournalKind& k) {
  FormDecl f(k.form, k.formCaption, k.table, "");
  FollowJournalConventions(f);
  f.cancelText = "&Cancel";
  FormItem number = field("Number:", kNumberUse, {k.table, k.number}, "@n-14");
  number.readOnly = true;
  std::vector<FormItem> items = {number, textBoxField(k.textPrompt, kTextUse, {k.table, k.text}, 6),
                                 dateField(k.datePrompt, kDateUse, {k.table, k.date}, "@d2-")};
  if (k.category >= 0) {
    items.push_back(lookupField("Category:", kCategoryUse, {k.table, k.category}, CategoryLookup(k.categoryBrowse), "@s30"));
  }
  f.tabs = {{k.tab, std::move(items)}};
  const int date = k.date;
  f.prime = [date](FormScreen& form) {
    const auto& d = TableFile(*form.Decl().primary).schema().fields[static_cast<std::size_t>(date)];
    form.Record().setNumber(d, vrt::today());
  };
  f.opened = viewOnly;
  return f;
}

BrowseDecl browseOf(const JournalKind& k, std::function<void()> form) {
  BrowseDecl b(k.browse, k.browseCaption, k.table);
  FollowJournalConventions(b);
  b.listTitle = "Browsing the Blessings file";
  BrowseColumn number{k.numberHeading, 9, "@n9", {k.table, k.number}};
  number.align = vrt::ColumnAlign::Center;
  BrowseColumn date{k.dateHeading, 11, "@d2-b", {k.table, k.date}};
  date.align = vrt::ColumnAlign::Center;
  b.columns = {number, {k.textHeading, 70, "@s255", {k.table, k.text}}, date};
  b.tabs = {{k.dateTab, k.dateKey, BrowseTab::Locator::None, {}, ThumbStep::kDigits, true},
            {k.numberTab, k.numberKey, BrowseTab::Locator::None, {}, ThumbStep::kDigits, true}};
  b.view = true;
  b.closeText = "&Close";
  b.helpText = "&Help";
  b.form = std::move(form);
  b.extraButtons = {vrt::button(kPrintUse, "&Print")};
  const NamedProcedure* report = &k.report;
  b.onButton = [report](BrowseScreen& screen, int control) {
    if (control != screen.MYWINDOW()->number(kPrintUse)) return EventResult::Continue;
    StartJournalReport(*report);
    return EventResult::Consumed;
  };
  return b;
}

// Declarations live for the program's run; procedures refer to them.
const std::vector<FormDecl>& forms() {
  static const std::vector<FormDecl> all = [] {
    std::vector<FormDecl> v;
    for (const JournalKind& k : kKinds) v.push_back(formOf(k));
    return v;
  }();
  return all;
}

const std::vector<BrowseDecl>& browses() {
  static const std::vector<BrowseDecl> all = [] {
    std::vector<BrowseDecl> v;
    for (std::size_t i = 0; i < std::size(kKinds); ++i) v.push_back(browseOf(kKinds[i], [i] { RunForm(forms()[i]); }));
    return v;
  }();
  return all;
}

}  // namespace

void BrowseBlessings() { RunBrowse(browses()[0]); }
void UpdateBlessings() { RunForm(forms()[0]); }
void BrowsePraises() { RunBrowse(browses()[1]); }
void UpdatePraises() { RunForm(forms()[1]); }
void BrowseJournal() { RunBrowse(browses()[2]); }
void UpdateJournal() { RunForm(forms()[2]); }

void RegisterJournalScreens() {
  for (std::size_t i = 0; i < std::size(kKinds); ++i) {
    RegisterProcedure(kKinds[i].browse, [i] { RunBrowse(browses()[i]); });
    RegisterProcedure(kKinds[i].form, [i] { RunForm(forms()[i]); });
  }
}

}  // namespace vesp
