#include "tools/vesp_data/record_layer.h"

#include <cstdlib>

#include "dictionary/upgrade_registration.h"
#include "records/thread_dictionary.h"

namespace vesp::tools {

int RecordLayer::ToolDisplay::ShowMessage(std::string_view text, std::string_view title, MessageIcon, int buttons,
                                          int defaultButton) {
  std::string lines(text);
  for (auto& c : lines)
    if (c == '|') c = '\n';
  err_ << "vesp-data: " << title << ": " << lines << "\n";
  return (buttons & Button::No) ? Button::No : defaultButton;
}

RecordLayer::RecordLayer(std::ostream& err) : display_(err) {
  ErrorManager& errors = errorManager();
  errors.Setup();
  errors.SetDisplay(&display_);
  errors.SetEndHook([](Level) { std::exit(1); });
  dict::registerTablesForUpgrade();
  SetupDictionaryForThread();
}

RecordLayer::~RecordLayer() {
  KillDictionaryForThread();
  errorManager().SetDisplay(nullptr);
}

}  // namespace vesp::tools
