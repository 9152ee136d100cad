// query: the records a view yields, as CSV, so that anyone can try a filter from the shell.
#include "runtime/data/errors.h"
#include "runtime/store/view.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/csv.h"
#include "tools/vesp_data/open_table.h"

namespace vesp::tools {

namespace {

// A key's order as the program writes it: text components compared in capitals.
std::string keyOrder(const vrt::TableSchema& schema, const vrt::KeyDesc& key) {
  std::string order;
  for (int c : key.components) {
    const auto& f = schema.fields[static_cast<std::size_t>(c)];
    if (!order.empty()) order += ",";
    order += key.noCase && vrt::isTextType(f.type) ? "UPPER(" + f.label + ")" : f.label;
  }
  return order;
}

int expressionError(std::ostream& err, const char* what) {
  err << "vesp-data: error " << vrt::errorCode() << " in the " << what << ": " << vrt::errorMessage() << "\n";
  return 2;
}

}  // namespace

int runQuery(const Args& args, std::ostream& out, std::ostream& err) {
  const vrt::TableSchema* schema = findTable(args.positional[0], err);
  if (!schema) return 2;
  long long limit = -1;
  if (!numberOption(args, "--limit", 0, 1'000'000'000'000LL, limit, err)) return 2;
  auto file = openTable(*schema, err, false, vrt::OpenAccess::ReadOnly);
  if (!file) return 1;
  vrt::View view(*file);
  const std::string order = args.has("--order") ? args.options.at("--order")
                            : schema->keys.empty() ? std::string()
                                                   : keyOrder(*schema, schema->keys.front());
  if (!view.setOrder(order)) return expressionError(err, "order");
  if (args.has("--filter") && !view.setFilter(args.options.at("--filter"))) return expressionError(err, "filter");
  if (!view.open()) {
    err << "vesp-data: the view cannot be opened: " << describeError() << "\n";
    return 2;
  }
  const bool reverse = args.has("--reverse");
  const auto fields = exportedFields(*schema);
  writeCsvHeader(out, *schema, fields);
  view.beginBatch();
  reverse ? view.setToEnd() : view.setToStart();
  long long written = 0;
  while ((limit < 0 || written < limit) && (reverse ? view.previous() : view.next())) {
    writeCsvRecord(out, *schema, fields, file->buffer());
    ++written;
  }
  const bool ended = written == limit || vrt::errorCode() == vrt::kRecordNotAvailable;
  if (!ended) err << "vesp-data: reading failed: " << describeError() << "\n";
  view.endBatch();
  return ended ? 0 : 1;
}

}  // namespace vesp::tools
