#include "windows/feedback.h"

#include <QApplication>
#include <atomic>

#include "records/error_manager.h"
#include "windows/message_windows.h"

namespace vesp {

namespace {
std::atomic<int> beeps{0};
}

void Beep(int /*frequency*/, int /*duration*/) {
  ++beeps;
  QApplication::beep();
}

int BeepCount() { return beeps.load(); }

int AskMessage(int id, int buttons, int defaultButton) {
  ErrorManager& errors = errorManager();
  errors.RecordError(id);
  if (errors.Silent()) return defaultButton;
  const ErrorStatus& status = ErrorManager::ThreadStatus();
  return windowMessageDisplay().ShowMessage(status.text, status.title, MessageIcon::Exclamation, buttons,
                                            defaultButton);
}

}  // namespace vesp
