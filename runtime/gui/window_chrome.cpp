#include "runtime/gui/window_chrome.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVariant>

#include "runtime/gui/control.h"
#include "runtime/gui/window.h"
#include "runtime/gui/window_builder.h"

namespace vrt {

namespace {

constexpr const char* kZoneProperty = "vrtStatusZone";

QString qs(const std::string& s) { return QString::fromStdString(s); }

std::string withoutAmpersands(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != '&') out += c;
  return out;
}

// Highlighting a menu item or toolbar button shows its help text in the status bar.
void showHelpOnHover(QAction* action, QMainWindow* main) {
  QObject::connect(action, &QAction::hovered, main, [action, main] { main->statusBar()->showMessage(action->statusTip()); });
}

void buildMenu(Window& window, const std::vector<ControlSpec>& items, QMenu* menu, QMainWindow* main) {
  for (const ControlSpec& item : items) {
    if (item.kind == ControlKind::Separator) {
      menu->addSeparator();
    } else if (item.kind == ControlKind::Menu) {
      Control& control = window.addControl(item);
      QMenu* sub = menu->addMenu(qs(item.text));
      control.attach(sub->menuAction());
      sub->menuAction()->setStatusTip(qs(item.helpText));
      buildMenu(window, item.children, sub, main);
    } else {
      Control& control = window.addControl(item);
      QAction* action = menu->addAction(qs(item.text));
      connectAction(window, control, action);
      action->setStatusTip(qs(item.helpText));
      showHelpOnHover(action, main);
      applyCommonProperties(item, control);
    }
  }
}

void buildToolbar(Window& window, const std::vector<ControlSpec>& items, QToolBar* bar, QMainWindow* main) {
  for (const ControlSpec& item : items) {
    if (item.kind == ControlKind::Separator) {
      bar->addSeparator();
      continue;
    }
    if (item.kind != ControlKind::ToolButton) {  // a prompt, spin, entry or list in the bar
      bar->addWidget(buildControl(window, item, bar));
      continue;
    }
    Control& control = window.addControl(item);
    QAction* action = bar->addAction(qs(item.text));
    connectAction(window, control, action);
    action->setStatusTip(qs(item.helpText));
    showHelpOnHover(action, main);
    applyCommonProperties(item, control);
    if (auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(action))) {
      const bool iconOnly = !item.iconName.empty();
      tool->setToolButtonStyle(iconOnly ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
      // An icon says nothing to a screen reader: such a button is named by its tip.
      tool->setAccessibleName(qs(withoutAmpersands(iconOnly && !item.tipText.empty() ? item.tipText : item.text)));
    }
  }
}

QLabel* zoneLabel(const QMainWindow* main, int zone) {
  for (QLabel* label : main->statusBar()->findChildren<QLabel*>())
    if (label->property(kZoneProperty).toInt() == zone) return label;
  return nullptr;
}

}  // namespace

bool wantsChrome(const WindowSpec& design) {
  return !design.menus.empty() || !design.toolbar.empty() || !design.statusZones.empty();
}

QMainWindow* buildChrome(Window& window, const WindowSpec& design, QWidget* body) {
  auto* main = new QMainWindow;
  for (const ControlSpec& menuSpec : design.menus) {
    Control& control = window.addControl(menuSpec);
    QMenu* menu = main->menuBar()->addMenu(qs(menuSpec.text));
    control.attach(menu->menuAction());
    menu->menuAction()->setStatusTip(qs(menuSpec.helpText));
    buildMenu(window, menuSpec.children, menu, main);
  }
  if (!design.toolbar.empty()) buildToolbar(window, design.toolbar, main->addToolBar(QStringLiteral("Toolbar")), main);
  QStatusBar* status = main->statusBar();
  for (std::size_t i = 1; i < design.statusZones.size(); ++i) {  // zone 1 is the message area
    auto* label = new QLabel(status);
    label->setProperty(kZoneProperty, static_cast<int>(i) + 1);
    if (design.statusZones[i] > 0) label->setMinimumWidth(design.statusZones[i]);
    status->addPermanentWidget(label, design.statusZones[i] > 0 ? 0 : 1);
  }
  main->setCentralWidget(body);
  return main;
}

void setStatusZoneText(QMainWindow* main, int zone, std::string_view text) {
  if (!main) return;
  const QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (zone == 1) {
    main->statusBar()->showMessage(shown);
  } else if (QLabel* label = zoneLabel(main, zone)) {
    label->setText(shown);
  }
}

std::string statusZoneText(const QMainWindow* main, int zone) {
  if (!main) return {};
  if (zone == 1) return main->statusBar()->currentMessage().toStdString();
  const QLabel* label = zoneLabel(main, zone);
  return label ? label->text().toStdString() : std::string();
}

}  // namespace vrt
