#pragma once
// The hyperlink manager a form owns for its window: text controls and view buttons that
// open an address, and list columns whose cells open their own text. Every 8 hundredths
// of a second it draws the item under the mouse in its hover colour with the hand cursor
// and gives the others back their normal look.
//
//   HyperlinkManager links(window);
//   links.AddText(*window.control("?VIEWFLYER"), "");
//   links.AddColumn(*window.control("?List"), 3);
//   for (;;) {
//     vrt::Event e = window.accept();
//     if (links.TakeEvent(e)) continue;   // a hyperlink cell was clicked and opened
//     if (view button pressed) links.OpenField(*viewButton, *flyerEntry);
//   }
//
// Opening goes through the desktop opener; a failure shows the shell error box and
// changes nothing else.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gui/control.h"
#include "runtime/gui/events.h"
#include "runtime/gui/pointer_watch.h"
#include "runtime/gui/window.h"

namespace vesp {

// Colours are 0xBBGGRR; kNoColor keeps the control's own.
struct HyperlinkStyle {
  int normal = vrt::kNoColor;
  int hover = 0xFF0000;  // blue
  int inactive = vrt::kNoColor;
  bool underline = true;
};

class HyperlinkManager {
 public:
  static constexpr int kHoverHundredths = 8;

  // Starts the window's timer for hover tracking.
  explicit HyperlinkManager(vrt::Window& window);
  ~HyperlinkManager();
  HyperlinkManager(const HyperlinkManager&) = delete;
  HyperlinkManager& operator=(const HyperlinkManager&) = delete;

  void AddText(vrt::Control& control, std::string_view address, HyperlinkStyle style = {});
  // `column` is 1-based.
  void AddColumn(vrt::Control& list, int column, HyperlinkStyle style = {});
  void SetAddress(vrt::Control& control, std::string_view address);

  // E-mail addresses are made URL-safe (on by default).
  void SetEmailSafe(bool on) { emailSafe_ = on; }
  // −1: the desktop's limit; 0: none.
  void SetLengthLimit(int limit) { lengthLimit_ = limit; }

  // Sees the window's event before the form does: timer ticks redraw the hover look; a
  // left click on a cell of a hyperlink column opens that cell's text. True when the
  // event opened something, so the form leaves it alone.
  bool TakeEvent(const vrt::Event& event);

  // Opens the item's address (a list: its highlighted row's cell).
  void Run(vrt::Control& control);
  // A view button: opens what `field` shows now.
  void OpenField(vrt::Control& button, const vrt::Control& field);
  // Returns false when the open failed (the error box has been shown).
  bool RunAddress(std::string_view address);

  // The item the mouse is on (0 when none), by control number.
  int Pointed() const { return pointed_; }

 private:
  struct Item {
    int control = 0;
    std::string address;
    int column = 0;  // lists only
    HyperlinkStyle style;
    vrt::CursorKind ownCursor = vrt::CursorKind::Arrow;
  };
  Item* find(int control);
  void watch(vrt::Control& control);
  void redraw();

  vrt::Window& window_;
  std::vector<Item> items_;
  std::unique_ptr<vrt::PointerWatch> watch_;
  int pointed_ = 0;
  bool emailSafe_ = true;
  int lengthLimit_ = -1;
  std::string browserCommand_;
  std::string mailCommand_;
};

}  // namespace vesp
