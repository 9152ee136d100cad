#include "windows/sibling_order.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "records/error_manager.h"
#include "records/file_manager.h"
#include "records/levels.h"
#include "records/messages.h"
#include "runtime/data/errors.h"
#include "runtime/store/transaction.h"

namespace vesp {

namespace {

constexpr int kStep = 10;
constexpr int kWaitSeconds = 2;

struct Sibling {
  std::int64_t rowid;
  double order;
};

// Read inside the transaction, so that what is renumbered is what is stored.
std::vector<Sibling> siblingsOf(vrt::DataFile& file, int key, const vrt::FieldDesc& order,
                                const vrt::store::KeyValue& parent) {
  const auto& layout = file.layout();
  const auto& components = file.schema().keys[static_cast<std::size_t>(key)].components;
  vrt::RecordBuffer& buffer = file.buffer();
  buffer.clearAll(file.schema().fields);
  layout.setComponentValue(components.front(), parent, buffer);
  for (std::size_t i = 1; i < components.size(); ++i)
    layout.setComponentValue(components[i], layout.lowestValue(components[i]), buffer);
  file.setToValue(key);
  std::vector<Sibling> out;
  while (file.next() && layout.componentValue(components.front(), buffer) == parent)
    out.push_back({file.currentRowid(), buffer.number(order)});
  return out;
}

MoveResult refuse(FileManager& f, const std::string& why) {
  static_cast<void>(
      f.ERRORS()->RaiseWithText(Msg::NotSaved, "The new order could not be saved: " + why + ". Nothing was moved."));
  return MoveResult::Failed;
}

std::string driverText() {
  const vrt::ErrorState& e = vrt::threadError();
  return e.fileText.empty() ? e.text : e.text + " (" + e.fileText + ")";
}

}  // namespace

MoveResult MoveSibling(FileManager& f, int key, int orderField, const vrt::store::KeyValue& parent,
                       std::int64_t moving, SiblingMove how, std::int64_t target) {
  if (f.Use() != Level::Benign) return MoveResult::Failed;
  vrt::DataFile& file = *f.FILE();
  const vrt::FieldDesc& order = file.schema().fields[static_cast<std::size_t>(orderField)];
  int saved = f.SaveState();
  MoveResult result = MoveResult::Unchanged;
  std::string failure;
  {
    vrt::Transaction t({&file}, kWaitSeconds);
    if (!t.begin()) {
      failure = driverText();
    } else {
      std::vector<Sibling> siblings = siblingsOf(file, key, order, parent);
      auto indexOf = [&siblings](std::int64_t rowid) -> std::optional<std::size_t> {
        const auto at = std::find_if(siblings.begin(), siblings.end(), [rowid](const Sibling& s) { return s.rowid == rowid; });
        if (at == siblings.end()) return std::nullopt;
        return static_cast<std::size_t>(at - siblings.begin());
      };
      const auto from = indexOf(moving);
      std::optional<std::size_t> to;
      if (from && how == SiblingMove::Up && *from > 0) to = *from - 1;
      if (from && how == SiblingMove::Down && *from + 1 < siblings.size()) to = *from + 1;
      if (from && how == SiblingMove::Onto) to = indexOf(target);
      if (!from || (how == SiblingMove::Onto && !to)) {
        failure = "another user has deleted the record or moved it to another place";
      } else if (to && *to != *from) {
        if (*to < *from) std::rotate(siblings.begin() + *to, siblings.begin() + *from, siblings.begin() + *from + 1);
        else std::rotate(siblings.begin() + *from, siblings.begin() + *from + 1, siblings.begin() + *to + 1);
        for (std::size_t i = 0; i < siblings.size() && failure.empty(); ++i) {
          const double place = static_cast<double>((i + 1) * kStep);
          if (siblings[i].order == place) continue;
          if (!file.getByRowid(siblings[i].rowid)) {
            failure = driverText();
            break;
          }
          file.buffer().setNumber(order, place);
          if (!file.put()) failure = driverText();
        }
        if (failure.empty() && !t.commit()) failure = driverText();
        if (failure.empty()) result = MoveResult::Moved;
      }
      if (t.active()) t.rollback();
    }
  }
  f.RestoreState(saved);
  if (!failure.empty()) return refuse(f, failure);
  return result;
}

}  // namespace vesp
