#include "runtime/gui/popup_menu.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QMetaObject>
#include <memory>

#include "runtime/gui/look.h"
#include "runtime/gui/threads.h"

namespace vrt {

namespace {

// Popups take events addressed to ids of their own, below every window's.
int nextPopupId() {
  static int id = 0;
  return --id;
}

PopupEntry parseEntry(std::string_view text) {
  PopupEntry e;
  if (text == "-") {
    e.separator = true;
    return e;
  }
  for (bool more = true; more && !text.empty();) {
    switch (text.front()) {
      case '~': e.disabled = true; break;
      case '+': e.check = PopupEntry::Check::Checked; break;
      case '-': e.check = PopupEntry::Check::Unchecked; break;
      case '[': {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
          more = false;
          continue;
        }
        const std::string_view group = text.substr(1, close - 1);
        if (group.substr(0, 5) == "icon=") e.icon = std::string(group.substr(5));
        text.remove_prefix(close);
        break;
      }
      default: more = false; continue;
    }
    text.remove_prefix(1);
  }
  e.text = std::string(text);
  return e;
}

}  // namespace

std::vector<PopupEntry> parsePopupText(std::string_view text) {
  std::vector<PopupEntry> entries;
  int depth = 1;
  std::string current;
  auto flush = [&] {
    if (!current.empty()) {
      PopupEntry e = parseEntry(current);
      e.depth = depth;
      entries.push_back(std::move(e));
    }
    current.clear();
  };
  for (char c : text) {
    if (c == '|') {
      flush();
    } else if (c == '{') {
      flush();
      ++depth;
    } else if (c == '}') {
      flush();
      if (depth > 1) --depth;
    } else {
      current += c;
    }
  }
  flush();
  return entries;
}

int Popup(const std::vector<PopupEntry>& entries, int x, int y) {
  const int thread = ThreadNumber();
  if (thread == 0 || entries.empty()) return 0;
  const int id = nextPopupId();
  auto root = std::make_unique<QMenu>();
  root->setProperty("vrtPopup", id);
  std::vector<QMenu*> menus{root.get()};  // menus[d - 1]: the menu entries of depth d go in
  int number = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PopupEntry& e = entries[i];
    menus.resize(std::min<std::size_t>(menus.size(), static_cast<std::size_t>(std::max(1, e.depth))));
    QMenu* into = menus.back();
    if (e.separator) {
      into->addSeparator();
      continue;
    }
    const QString text = QString::fromStdString(e.text);
    if (i + 1 < entries.size() && entries[i + 1].depth > e.depth) {
      QMenu* sub = into->addMenu(iconFor(e.icon), text);
      sub->setEnabled(!e.disabled);
      menus.push_back(sub);
      continue;
    }
    QAction* action = into->addAction(iconFor(e.icon), text);
    action->setEnabled(!e.disabled);
    action->setCheckable(e.check != PopupEntry::Check::None);
    action->setChecked(e.check == PopupEntry::Check::Checked);
    const int entryNumber = ++number;
    QObject::connect(action, &QAction::triggered, root.get(), [id, thread, entryNumber] {
      PostEvent(Event{kEventAccepted, entryNumber, id, 0, 0}, thread);
    });
  }
  // Qt hides the menu before it reports the choice: the close is posted behind it, and
  // not at all once the caller has its answer.
  auto waiting = std::make_shared<bool>(true);
  QObject::connect(root.get(), &QMenu::aboutToHide, root.get(), [id, thread, waiting] {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [id, thread, waiting] {
          if (*waiting) PostEvent(Event{kEventCloseWindow, 0, id, 0, 0}, thread);
        },
        Qt::QueuedConnection);
  });
  root->popup(x == 0 && y == 0 ? QCursor::pos() : QPoint(x, y));
  // The menu is none of the thread's windows: what is meant for them waits for them.
  const Event e = TakeOwnEvent(id);
  const int chosen = e.event == kEventAccepted ? e.control : 0;
  *waiting = false;
  root->hide();
  DiscardWindowEvents(id);
  return chosen;
}

}  // namespace vrt
