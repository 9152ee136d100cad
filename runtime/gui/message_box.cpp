#include "runtime/gui/message_box.h"

#include <algorithm>

#include "runtime/gui/window.h"

namespace vrt {

std::string messageBoxText(std::string_view text) {
  std::string shown(text);
  std::replace(shown.begin(), shown.end(), '|', '\n');
  return shown;
}

int Message(std::string_view text, std::string_view caption, std::string_view icon, int buttons, int defaultButton) {
  WindowSpec design = windowSpec(std::string(caption), std::string(kMessageBoxProcedure));
  std::vector<ControlSpec> message;
  if (!icon.empty()) message.push_back(image("?MessageIcon", std::string(icon)));
  message.push_back(prompt(messageBoxText(text), std::string(kMessageTextUse)));
  design.controls = {row(std::move(message)), buttonRow(buttons, defaultButton)};
  Window box(std::move(design));
  answerByLetters(box, buttons);
  return waitForButton(box, buttons, defaultButton);
}

}  // namespace vrt
