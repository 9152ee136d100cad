#include "windows/popup_menu.h"

#include <algorithm>

#include "runtime/gui/control.h"
#include "runtime/gui/events.h"
#include "runtime/gui/popup_menu.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

bool isNameChar(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

// The markers in front of a text, taken off into the item.
std::string_view takeMarkers(std::string_view text, PopupItem& item) {
  if (text == "-") return text;
  if (!text.empty() && text.front() == '~') {
    item.DISABLED = 1;
    text.remove_prefix(1);
  }
  if (!text.empty() && text != "-" && (text.front() == '+' || text.front() == '-')) {
    item.CHECK = text.front() == '+' ? 1 : 2;
    text.remove_prefix(1);
  }
  return text;
}

}  // namespace

void PopupMenu::Init(vrt::Window* parent) {
  POPUPITEMS.clear();
  CLEARKEYCODE = true;
  MYTHREAD = vrt::ThreadNumber();
  LASTNUMBERSELECTION = 0;
  LASTSELECTION.clear();
  PARENTWINDOW = parent;
}

std::string PopupMenu::NameFor(std::string_view text) const {
  std::string base;
  if (text == "-") {
    base = "Separator";
  } else {
    for (char c : text)
      if (isNameChar(static_cast<unsigned char>(c))) base += c;
  }
  if (ItemExists(base) == 0) return base;
  for (int n = 1;; ++n) {
    std::string candidate = base + std::to_string(n);
    if (ItemExists(candidate) == 0) return candidate;
  }
}

PopupItem* PopupMenu::find(std::string_view name) {
  const int at = ItemExists(name);
  return at ? &POPUPITEMS[static_cast<std::size_t>(at - 1)] : nullptr;
}

int PopupMenu::ItemExists(std::string_view name) const {
  for (std::size_t i = 0; i < POPUPITEMS.size(); ++i)
    if (vrt::equalTextNoCase(POPUPITEMS[i].NAME, name)) return static_cast<int>(i) + 1;
  return 0;
}

std::size_t PopupMenu::insertAt(std::string_view after) const {
  const int at = after.empty() ? 0 : ItemExists(after);
  return at ? static_cast<std::size_t>(at) : POPUPITEMS.size();
}

std::string PopupMenu::AddItem(std::string_view text) { return AddItem({}, text); }

std::string PopupMenu::AddItem(std::string_view name, std::string_view text, std::string_view after, int depth) {
  PopupItem item;
  const std::string_view bare = takeMarkers(text, item);
  item.TEXT = std::string(bare);
  item.NAME = name.empty() ? NameFor(bare) : std::string(name);
  if (!name.empty() && ItemExists(name)) item.NAME = NameFor(name);
  const std::size_t at = insertAt(after);
  if (depth > 0) item.DEPTH = depth;
  else if (at > 0 && !after.empty()) item.DEPTH = POPUPITEMS[at - 1].DEPTH;
  POPUPITEMS.insert(POPUPITEMS.begin() + static_cast<std::ptrdiff_t>(at), item);
  return item.NAME;
}

void PopupMenu::AddMenu(std::string_view menuText, std::string_view after) {
  std::string previous(after);
  for (const vrt::PopupEntry& e : vrt::parsePopupText(menuText)) {
    std::string text = e.separator ? "-" : e.text;
    const std::string name = AddItem({}, text, previous, e.depth);
    PopupItem& item = *find(name);
    item.DEPTH = e.depth;
    if (e.disabled) item.DISABLED = 1;
    if (e.check != vrt::PopupEntry::Check::None) item.CHECK = e.check == vrt::PopupEntry::Check::Checked ? 1 : 2;
    item.ICON = e.icon;
    if (!previous.empty() || !after.empty()) previous = name;
  }
}

std::string PopupMenu::AddItemMimic(std::string_view name, int control, std::string_view text) {
  const std::string added = AddItem(name, text.empty() ? std::string_view("!") : text);
  PopupItem& item = *find(added);
  item.MIMICMODE = true;
  item.CONTROLID = control;
  item.DISABLED = 0;
  item.TEXT = std::string(text.empty() ? std::string_view("!") : text);
  return added;
}

std::string PopupMenu::AddItemEvent(std::string_view name, int event, int control) {
  const std::string added = AddItem(name, name);
  PopupItem& item = *find(added);
  item.EVENT = event;
  item.CONTROLID = control;
  return added;
}

std::string PopupMenu::AddSeparator(std::string_view after) { return AddItem({}, "-", after); }

void PopupMenu::DeleteItem(std::string_view name) {
  if (const int at = ItemExists(name)) POPUPITEMS.erase(POPUPITEMS.begin() + (at - 1));
}

void PopupMenu::SetText(std::string_view name, std::string_view text) {
  if (PopupItem* i = find(name)) i->TEXT = std::string(text);
}
void PopupMenu::SetIcon(std::string_view name, std::string_view icon) {
  if (PopupItem* i = find(name)) i->ICON = std::string(icon);
}
void PopupMenu::SetItemEnable(std::string_view name, bool enabled) {
  if (PopupItem* i = find(name)) i->DISABLED = enabled ? 2 : 1;
}
void PopupMenu::SetItemCheck(std::string_view name, bool checked) {
  if (PopupItem* i = find(name)) i->CHECK = checked ? 1 : 2;
}
void PopupMenu::SetToolbox(std::string_view name, bool on) {
  if (PopupItem* i = find(name)) i->ONTOOLBOX = on;
}

int PopupMenu::GetItems(bool topLevelOnly) const {
  if (!topLevelOnly) return static_cast<int>(POPUPITEMS.size());
  return static_cast<int>(std::count_if(POPUPITEMS.begin(), POPUPITEMS.end(), [](const PopupItem& i) { return i.DEPTH == 1; }));
}

bool PopupMenu::isHeader(std::size_t i) const {
  return i + 1 < POPUPITEMS.size() && POPUPITEMS[i + 1].DEPTH > POPUPITEMS[i].DEPTH;
}

void PopupMenu::refreshMimics() {
  if (!PARENTWINDOW) return;
  for (PopupItem& item : POPUPITEMS) {
    if (!item.MIMICMODE) continue;
    const vrt::Control* c = PARENTWINDOW->control(item.CONTROLID);
    if (!c) continue;
    item.DISABLED = c->disabled() || c->hidden() ? 1 : 2;
    if (!c->icon().empty()) item.ICON = c->icon();
  }
}

std::string PopupMenu::MenuText() {
  refreshMimics();
  std::string text;
  int depth = 1;
  for (std::size_t i = 0; i < POPUPITEMS.size(); ++i) {
    const PopupItem& item = POPUPITEMS[i];
    if (i > 0) {
      if (item.DEPTH > depth) text += std::string(static_cast<std::size_t>(item.DEPTH - depth), '{');
      else if (item.DEPTH < depth) text += std::string(static_cast<std::size_t>(depth - item.DEPTH), '}');
      else text += '|';
    }
    depth = item.DEPTH;
    std::string shown = item.TEXT;
    if (item.MIMICMODE && !shown.empty() && shown.front() == '!') {
      const vrt::Control* c = PARENTWINDOW ? PARENTWINDOW->control(item.CONTROLID) : nullptr;
      shown = c && !c->text().empty() ? c->text() : shown.substr(1);
    }
    if (shown != "-") {
      if (item.DISABLED == 1) text += '~';
      if (item.CHECK == 1) text += '+';
      else if (item.CHECK == 2) text += '-';
      if (!item.ICON.empty()) text += "[icon=" + item.ICON + "]";
    }
    text += shown;
  }
  return std::string(vrt::utf8Truncate(text, kMenuTextLimit));
}

const PopupItem* PopupMenu::entry(int n) const {
  int count = 0;
  for (std::size_t i = 0; i < POPUPITEMS.size(); ++i) {
    if (POPUPITEMS[i].TEXT == "-" || isHeader(i)) continue;
    if (++count == n) return &POPUPITEMS[i];
  }
  return nullptr;
}

std::string PopupMenu::Ask(int x, int y) {
  const int chosen = vrt::Popup(MenuText(), x, y);
  LASTNUMBERSELECTION = chosen;
  const PopupItem* item = chosen ? entry(chosen) : nullptr;
  LASTSELECTION = item ? item->NAME : std::string();
  if (!item) return LASTSELECTION;
  const int window = PARENTWINDOW ? PARENTWINDOW->id() : 0;
  if (item->MIMICMODE) {
    vrt::PostEvent(vrt::Event{vrt::kEventAccepted, item->CONTROLID, window, 0, 0}, MYTHREAD);
  } else if (item->EVENT) {
    vrt::PostEvent(vrt::Event{item->EVENT, item->CONTROLID, window, 0, 0}, MYTHREAD);
  }
  return LASTSELECTION;
}

}  // namespace vesp
