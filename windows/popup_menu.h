#pragma once
// A context menu built from a list of items, shown on the running thread, whose chosen item
// posts its action: a mimic item presses the control it mirrors, an event item posts its
// event. Items are named from their text ("&Insert" -> "Insert", a second one "Insert1",
// "-" -> "Separator"), so code refers to them by name.
//
//   PopupMenu popup;
//   popup.Init(&window);
//   popup.AddMenu("View{One|Two}|Close");    // depths 1, 2, 2, 1
//   popup.AddItemMimic("Insert", window.number("?Insert"), "!&Insert");
//   std::string chosen = popup.Ask();        // "" when dismissed
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vrt {
class Window;
}

namespace vesp {

struct PopupItem {
  std::int32_t CONTROLID = 0;
  int DEPTH = 1;
  int EVENT = 0;
  bool MIMICMODE = false;
  int DISABLED = 0;  // 1 disabled, 2 enabled, 0 as the mirrored control is
  int CHECK = 0;     // 1 checked, 2 unchecked, 0 no check mark
  bool ONTOOLBOX = false;
  std::string ICON;
  std::string NAME;
  std::string TEXT;
};

class PopupMenu {
 public:
  static constexpr std::size_t kMenuTextLimit = 10'000;

  bool CLEARKEYCODE = true;
  std::string LASTSELECTION;
  int LASTNUMBERSELECTION = 0;
  std::vector<PopupItem> POPUPITEMS;
  int MYTHREAD = 0;
  vrt::Window* PARENTWINDOW = nullptr;
  vrt::Window* THISWINDOW = nullptr;

  void Init(vrt::Window* parent = nullptr);
  void Kill() { POPUPITEMS.clear(); }

  // Returns the item's name. An empty name is made from the text; `after` names the item
  // the new one follows (empty: at the end); depth 0 takes that item's depth.
  std::string AddItem(std::string_view text);
  std::string AddItem(std::string_view name, std::string_view text, std::string_view after = {}, int depth = 0);
  // Items separated by "|", "{" ... "}" around a submenu, with "~ + -" markers.
  void AddMenu(std::string_view menuText, std::string_view after = {});
  // A text beginning "!" means the control's own caption, else the rest of the text.
  std::string AddItemMimic(std::string_view name, int control, std::string_view text = {});
  std::string AddItemEvent(std::string_view name, int event, int control);
  std::string AddSeparator(std::string_view after = {});
  void DeleteItem(std::string_view name);
  void SetText(std::string_view name, std::string_view text);
  void SetIcon(std::string_view name, std::string_view icon);
  void SetItemEnable(std::string_view name, bool enabled);
  void SetItemCheck(std::string_view name, bool checked);
  void SetToolbox(std::string_view name, bool on);
  // Position (from 1) of the named item, 0 when there is none.
  int ItemExists(std::string_view name) const;
  int GetItems(bool topLevelOnly = false) const;

  // The menu as shown: "|" between items of one depth, "{" down, "}" up, "~" disabled,
  // "+"/"-" checked, "[icon=...]" and the text. Mimic items first take their control's state.
  std::string MenuText();
  // Shows the menu at (x, y) (the mouse when both are 0); returns the chosen item's name.
  std::string Ask(int x = 0, int y = 0);

  // The name the text would give an item now.
  std::string NameFor(std::string_view text) const;

 private:
  PopupItem* find(std::string_view name);
  std::size_t insertAt(std::string_view after) const;
  void refreshMimics();
  // The item behind entry number n, counting neither separators nor submenu headers.
  const PopupItem* entry(int n) const;
  bool isHeader(std::size_t i) const;
};

}  // namespace vesp
