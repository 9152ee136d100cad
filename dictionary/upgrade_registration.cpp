#include "dictionary/upgrade_registration.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "dictionary/dictionary.h"

namespace vesp::dict {

vrt::UpgradeHandle registerTablesForUpgrade() {
  static std::once_flag once;
  static vrt::UpgradeHandle handle = 0;
  handle = vrt::ds_PassHandleForUpgrading();
  std::call_once(once, [] {
    // A one-field table stands for the indexed driver's files.
    static const vrt::TableSchema dummy = [] {
      vrt::TableSchema t;
      t.label = "Dummy";
      t.prefix = "DUM";
      vrt::FieldDesc f;
      f.name = "FIELD";
      f.label = "DUM:FIELD";
      f.type = vrt::FieldType::Long;
      f.size = 4;
      t.fields = {f};
      t.recordSize = 4;
      return t;
    }();
    vrt::ds_SetOption("BadFile", 0);
    vrt::ds_AddDriver("Tps", dummy, 1);
    vrt::ds_IgnoreDriver("AllFiles", 1);
    vrt::ds_SetOption("SPCreate", 1);
    std::vector<const vrt::TableSchema*> byLabel;
    for (const auto& t : tables()) byLabel.push_back(&t);
    std::sort(byLabel.begin(), byLabel.end(), [](auto* a, auto* b) { return a->label < b->label; });
    for (const auto* t : byLabel) vrt::ds_UsingFile(t->prefix, t->label, *t, t->version);
  });
  return handle;
}

}  // namespace vesp::dict
