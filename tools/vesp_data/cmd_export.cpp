// export: a table's records as CSV.
#include "runtime/data/errors.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/csv.h"
#include "tools/vesp_data/open_table.h"
#include "tools/vesp_data/progress.h"

namespace vesp::tools {

int runExport(const Args& args, std::ostream& out, std::ostream& err) {
  const vrt::TableSchema* schema = findTable(args.positional[0], err);
  if (!schema) return 2;
  int key = schema->keys.empty() ? vrt::DataFile::kFileOrder : 0;
  if (args.has("--order")) {
    key = schema->keyIndex(args.options.at("--order"));
    if (key < 0) {
      err << "vesp-data: " << schema->label << " has no key '" << args.options.at("--order") << "'; its keys are:";
      for (const auto& k : schema->keys) err << " " << k.label;
      err << "\n";
      return 2;
    }
  }
  auto file = openTable(*schema, err, false, vrt::OpenAccess::ReadOnly);
  if (!file) return 1;
  const auto fields = exportedFields(*schema);
  Progress progress("export " + schema->label, file->records());
  // One read transaction keeps the records in one consistent state and one step apart.
  file->stream();
  writeCsvHeader(out, *schema, fields);
  file->setToStart(key);
  while (file->next()) {
    writeCsvRecord(out, *schema, fields, file->buffer());
    progress.advance();
  }
  const bool ended = vrt::errorCode() == vrt::kRecordNotAvailable;
  if (!ended) err << "vesp-data: reading " << file->path() << " failed: " << describeError() << "\n";
  file->flush();
  return ended ? 0 : 1;
}

}  // namespace vesp::tools
