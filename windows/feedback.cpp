#include "windows/feedback.h"

#include <QApplication>
#include <atomic>

#include "records/error_manager.h"
#include "records/error_text.h"
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
  // Its placeholders are filled as for any shown message.
  const std::string text = buildMessageText(
      status.text, MessageContext{status, errors.CurrentProcedure(), errors.CategoryFor(status.messageId)});
  return windowMessageDisplay().ShowMessage(text, status.title, MessageIcon::Exclamation, buttons, defaultButton);
}

}  // namespace vesp
