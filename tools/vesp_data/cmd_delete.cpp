// delete: one record through its relation manager, with its children as the dictionary's
// rules say, and no question asked.
#include "dictionary/dictionary.h"
#include "records/thread_dictionary.h"
#include "runtime/data/errors.h"
#include "worship/song_rotation.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/open_table.h"
#include "tools/vesp_data/record_layer.h"

namespace vesp::tools {

int runDelete(const Args& args, std::ostream& out, std::ostream& err) {
  const vrt::TableSchema* schema = findTable(args.positional[0], err);
  if (!schema) return 2;
  const int key = schema->autoNumberKey();
  if (key < 0) {
    err << "vesp-data: " << schema->label << " has no record numbers to delete by\n";
    return 2;
  }
  const Args numberArg{{}, {{"NUMBER", args.positional[1]}}};
  long long number = 0;
  if (!numberOption(numberArg, "NUMBER", 1, 2147483647LL, number, err)) return 2;

  RecordLayer layer(err);
  RegisterSongRotation();  // the bibliography's dates follow the services and elements deleted
  RelationManager& relate = Relate(schema->label);
  FileManager& access = Access(schema->label);
  if (relate.Open() != Level::Benign) return 1;
  const int numberField = schema->keys[static_cast<std::size_t>(key)].components.front();
  access.BUFFER()->clearAll(schema->fields);
  access.BUFFER()->setNumber(schema->fields[static_cast<std::size_t>(numberField)], static_cast<double>(number));
  int status = 0;
  if (access.Fetch(key) != Level::Benign) {
    err << "vesp-data: " << schema->label << " has no record " << number << "\n";
    status = 1;
  } else if (relate.Delete(false) != Level::Benign) {
    status = 1;
  } else {
    out << schema->label << " " << number << " deleted\n";
  }
  static_cast<void>(relate.Close());
  return status;
}

}  // namespace vesp::tools
