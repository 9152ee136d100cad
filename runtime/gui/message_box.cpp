#include "runtime/gui/message_box.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QScreen>

#include <algorithm>

#include "runtime/gui/window.h"

namespace vrt {

namespace {

// A long message (a driver's error with a server's whole answer, say) wraps at a readable
// width instead of stretching the box past the screen's edges; a short one keeps its line.
bool wrapIfLong(QLabel& label) {
  const QScreen* screen = label.screen() ? label.screen() : QGuiApplication::primaryScreen();
  const int widest = std::min(label.fontMetrics().averageCharWidth() * 100,
                              screen ? screen->availableGeometry().width() * 3 / 4 : 800);
  if (label.sizeHint().width() <= widest) return false;
  label.setWordWrap(true);
  label.setFixedWidth(widest);
  return true;
}

}  // namespace

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
  if (Control* shown = box.control(kMessageTextUse))
    if (auto* label = qobject_cast<QLabel*>(shown->widget()); label && wrapIfLong(*label))
      // Every level the box was sized at is measured again, from the text outwards.
      for (QWidget* w = label->parentWidget(); w; w = w == box.widget() ? nullptr : w->parentWidget()) {
        if (w->layout()) w->layout()->invalidate();
        w->adjustSize();
      }
  answerByLetters(box, buttons);
  return waitForButton(box, buttons, defaultButton);
}

}  // namespace vrt
