// delete: one record through its relation manager, with its children as the dictionary's
// rules say, and no question asked.
#include <cstdlib>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/thread_dictionary.h"
#include "runtime/data/errors.h"
#include "worship/song_rotation.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/open_table.h"

namespace vesp::tools {

namespace {

// Messages go to standard error; a question is answered No, so that nothing is retried
// or confirmed behind the user's back.
class ToolDisplay : public MessageDisplay {
 public:
  explicit ToolDisplay(std::ostream& err) : err_(err) {}
  int ShowMessage(std::string_view text, std::string_view title, MessageIcon, int buttons,
                  int defaultButton) override {
    std::string lines(text);
    for (auto& c : lines)
      if (c == '|') c = '\n';
    err_ << "vesp-data: " << title << ": " << lines << "\n";
    return (buttons & Button::No) ? Button::No : defaultButton;
  }
  int ShowHistory(const std::vector<HistoryRow>&, int) override { return Button::Ok; }

 private:
  std::ostream& err_;
};

// The dictionary of this thread for the length of a command.
struct ThreadDictionaryScope {
  ThreadDictionaryScope() { SetupDictionaryForThread(); }
  ~ThreadDictionaryScope() { KillDictionaryForThread(); }
};

}  // namespace

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

  ToolDisplay display(err);
  ErrorManager& errors = errorManager();
  errors.Setup();
  errors.SetDisplay(&display);
  errors.SetEndHook([](int) { std::exit(1); });
  dict::registerTablesForUpgrade();
  RegisterSongRotation();  // the bibliography's dates follow the services and elements deleted
  ThreadDictionaryScope dictionary;
  RelationManager& relate = Relate(schema->label);
  FileManager& access = Access(schema->label);
  if (relate.Open() != Level::Benign) return 1;
  const int numberField = schema->keys[static_cast<std::size_t>(key)].components.front();
  access.BUFFER->clearAll(schema->fields);
  access.BUFFER->setNumber(schema->fields[static_cast<std::size_t>(numberField)], static_cast<double>(number));
  int status = 0;
  if (access.Fetch(key) != Level::Benign) {
    err << "vesp-data: " << schema->label << " has no record " << number << "\n";
    status = 1;
  } else if (relate.Delete(false) != Level::Benign) {
    status = 1;
  } else {
    out << schema->label << " " << number << " deleted\n";
  }
  relate.Close();
  errors.SetDisplay(nullptr);
  return status;
}

}  // namespace vesp::tools
