// vsp059 BrowseJournalCategory, vsp060 UpdateCategory, vsp064 BrowsePrayerRequestCategory.
#include "screens/prayer/categories.h"

#include "dictionary/tables.h"
#include "records/thread_dictionary.h"
#include "runtime/store/view.h"
#include "runtime/text/utf8.h"
#include "screens/prayer/journal_conventions.h"
#include "windows/browse_declaration.h"
#include "windows/procedures.h"

namespace vesp {

namespace {

namespace LOO = dict::idx::LOO;

// Every new category goes into list 0: the pair (number, text) is then unique exactly when
// the text is, which is what the key enforces, letter case ignored.
constexpr std::int32_t kNewCategoryList = 0;

const FormDecl& categoryForm() {
  static const FormDecl form = [] {
    FormDecl f("UpdateCategory", "Update the Lookups File", tables::Lookups, "");
    FollowJournalConventions(f);
    f.okText = "OK";
    f.helpText = "Help";
    f.tabs = {{"General", {field("Category:", "?LOO:LOOKUPTYPE", {tables::Lookups, LOO::LOOKUPTYPE}, "@s30")}}};
    f.prime = [](FormScreen&) { vrt::RecordRef(Buffer(tables::Lookups)).set(LOO_LOOKUPNUMBER, kNewCategoryList); };
    return f;
  }();
  return form;
}

BrowseDecl categoryBrowse(const char* procedure, const char* caption, const char* heading) {
  BrowseDecl b(procedure, caption, tables::Lookups);
  FollowJournalConventions(b);
  b.listTitle = "Browsing Records";
  b.columns = {{heading, 30, "@s30", {tables::Lookups, LOO::LOOKUPTYPE}}};
  b.hiddenFields = {{tables::Lookups, LOO::LOOKUPNUMBER}};
  // The key leads with the list number, so neither letters nor a locator fit its order.
  b.tabs = {{"Category", LOO::keys::LookupTypeKey, BrowseTab::Locator::None, {}, 0}};
  b.form = UpdateCategory;
  return b;
}

const BrowseDecl& prayerCategories() {
  static const BrowseDecl b =
      categoryBrowse("BrowsePrayerRequestCategory", "Browse the Prayer Category File", "Prayer Category");
  return b;
}

const BrowseDecl& journalCategories() {
  static const BrowseDecl b =
      categoryBrowse("BrowseJournalCategory", "Browse the Journal Category File", "Journal Category");
  return b;
}

// The list is short: reading it through is cheaper than a second key would be to keep.
bool findCategory(FileManager& table, const std::string& value) {
  const std::string_view wanted = vrt::clip(value);
  if (table.Use() != Level::Benign) return false;
  vrt::View view(*table.FILE());
  if (!view.open()) return false;
  const auto& text = table.FILE()->schema().fields[LOO::LOOKUPTYPE];
  view.setToStart();
  while (view.next())
    if (vrt::equalTextNoCase(vrt::clip(table.BUFFER()->text(text)), wanted)) return true;
  return false;
}

}  // namespace

void BrowsePrayerRequestCategory() { RunBrowse(prayerCategories()); }
void BrowseJournalCategory() { RunBrowse(journalCategories()); }
void UpdateCategory() { RunForm(categoryForm()); }

LookupDecl CategoryLookup(Procedure browse) {
  LookupDecl l = lookupInto(kLookupButtonUse, std::move(browse), tables::Lookups, LOO::keys::LookupTypeKey, LOO::LOOKUPTYPE);
  l.find = findCategory;
  return l;
}

void RegisterCategories() {
  RegisterProcedure("BrowsePrayerRequestCategory", BrowsePrayerRequestCategory);
  RegisterProcedure("BrowseJournalCategory", BrowseJournalCategory);
  RegisterProcedure("UpdateCategory", UpdateCategory);
}

}  // namespace vesp
