#include "windows/accessible_names.h"

#include <QAction>
#include <QLabel>
#include <cctype>

#include "runtime/gui/control.h"

namespace vesp {

std::string SpokenName(std::string_view caption) {
  std::string out;
  for (char c : caption)
    if (c != '&') out += c;
  while (!out.empty() && (out.back() == ':' || out.back() == ' ')) out.pop_back();
  return out;
}

namespace {

bool hasWords(std::string_view caption) {
  for (unsigned char c : caption)
    if (std::isalnum(c) || c >= 0x80) return true;
  return false;
}

void nameByTip(vrt::Control& c) {
  if (c.tip().empty() || hasWords(c.text())) return;
  const QString tip = QString::fromStdString(c.tip());
  if (QWidget* w = c.widget()) w->setAccessibleName(tip);
  if (QAction* a = c.action())
    for (QObject* o : a->associatedObjects())
      if (auto* w = qobject_cast<QWidget*>(o)) w->setAccessibleName(tip);
}

}  // namespace

void NameControlsForAssistiveTechnology(vrt::Window& window) {
  const auto& controls = window.controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    vrt::Control& c = *controls[i];
    if (c.kind() == vrt::ControlKind::Button || c.kind() == vrt::ControlKind::ToolButton) nameByTip(c);
    if (c.kind() != vrt::ControlKind::Prompt || i + 1 >= controls.size()) continue;
    vrt::Control& next = *controls[i + 1];
    if (!next.widget() || next.kind() == vrt::ControlKind::Prompt) continue;
    if (auto* label = qobject_cast<QLabel*>(c.widget())) label->setBuddy(next.widget());
    next.widget()->setAccessibleName(QString::fromStdString(SpokenName(c.text())));
  }
}

}  // namespace vesp
