// Searching a view for the records a query selects, alone or through a child view.
#include <memory>

#include "querywizard/hooks.h"
#include "querywizard/qrywiz.h"
#include "querywizard/store_messages.h"
#include "runtime/expr/expression.h"
#include "querywizard/store_types.h"
#include "runtime/store/view.h"
#include "runtime/text/utf8.h"

namespace qrywiz {

namespace {

constexpr int kRecordsPerTick = 20;

// The view's order text for a key of its primary table.
std::string orderOfKey(vrt::View& view, int key) {
  const vrt::TableSchema& t = view.tables().front()->schema();
  if (key < 0 || static_cast<std::size_t>(key) >= t.keys.size()) return {};
  const vrt::KeyDesc& k = t.keys[static_cast<std::size_t>(key)];
  std::string order;
  for (int c : k.components) {
    const vrt::FieldDesc& f = t.fields[static_cast<std::size_t>(c)];
    const bool text = f.type == vrt::FieldType::String || f.type == vrt::FieldType::CString;
    if (!order.empty()) order += ",";
    order += text && k.noCase ? "UPPER(" + f.label + ")" : f.label;
  }
  return order;
}

void fileError(std::string_view name) {
  showStoreMessage(StoreMessage::FileAccessError, name, errorDescription());
}

struct NoMatchText {
  const char* title;
  const char* text;
};

NoMatchText noMatchText(std::uint8_t direction) {
  if (direction == 2) return {"Previous Query Result", "No previous records meet the query criteria."};
  if (direction == 3) return {"Next Query Result", "No forward records meet the query criteria."};
  return {"Query Navigation Result", "No records meet the current query criteria."};
}

}  // namespace

std::uint8_t XB_CHILDQUERY(vrt::View& view, int key, std::string_view filter1, std::string_view filter2) {
  const std::string name = view.tables().front()->path();
  const std::string filter = "(" + std::string(vrt::clip(filter1)) + ") AND (" + std::string(vrt::clip(filter2)) + ")";
  if (!view.setOrder(orderOfKey(view, key)) || !view.open()) {
    fileError(name);
    return 0;
  }
  if (!view.setFilter(filter)) {
    fileError(name);
    view.close();
    return 0;
  }
  view.setToStart();
  const bool found = view.next();
  view.close();
  return found ? 1 : 0;
}

std::uint8_t XB_QWNAVIGATE(vrt::View& view, std::optional<std::string_view> childFilter, std::string_view filter,
                           std::uint8_t direction, vrt::View* childView, int childKey,
                           std::optional<std::string_view> position) {
  if (direction < 1 || direction > 4) return 0;
  const std::string start(position.value_or(std::string_view()));
  auto backToStart = [&] {
    if (!start.empty()) view.resetTo(start);
  };
  std::optional<vrt::expr::Expression> test;
  if (!childView) {
    auto parsed = vrt::expr::Expression::parse(filter);
    if (!parsed) {
      showMessage(displayText(34), displayText(33));
      return 0;
    }
    test = std::move(parsed.expression);
  }
  const bool forward = direction == 1 || direction == 3;
  if (direction == 1) view.setToStart();
  if (direction == 4) view.setToEnd();
  if (direction == 2 || direction == 3) {
    // Reading the starting record first means the search begins just past it.
    if (!view.resetTo(start) || !(forward ? view.next() : view.previous())) {
      backToStart();
      return 0;
    }
  }
  struct Progress {
    explicit Progress(std::uint8_t direction) { hooks().navigationBegin(direction); }
    ~Progress() { hooks().navigationEnd(); }
  } progress(direction);
  std::int64_t read = 0;
  for (;;) {
    for (int i = 0; i < kRecordsPerTick; ++i) {
      if (!(forward ? view.next() : view.previous())) {
        if (vrt::errorCode() != vrt::kRecordNotAvailable) fileError("Current Navigation File");
        else showMessage(noMatchText(direction).text, noMatchText(direction).title);
        backToStart();
        return 0;
      }
      ++read;
      const bool match = childView ? XB_CHILDQUERY(*childView, childKey, childFilter.value_or(""), filter) == 1
                                   : test->isTrue();
      if (match) return 1;
    }
    if (!hooks().navigationTick(read)) {
      backToStart();
      return 0;
    }
  }
}

}  // namespace qrywiz
