#include "windows/preview_dialogs.h"

#include "runtime/gui/window.h"
#include "runtime/text/utf8.h"
#include "windows/page_selection.h"
#include "windows/window_room.h"

namespace vesp {

using namespace vrt;

namespace {

// Takes events until OK (true) or Cancel, the close box or close-down (false); `other`
// sees every other accepted control.
template <typename Other>
bool waitForOk(Window& window, Other other) {
  const int ok = window.number("?OK"), cancel = window.number("?Cancel");
  window.open();
  CentreOverOwner(window);  // over the preview that asked
  for (;;) {
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return false;
    if (e.event != kEventAccepted) continue;
    if (e.control == cancel) return false;
    if (e.control == ok) {
      window.updateAll();
      return true;
    }
    other(e.control);
  }
}

ControlSpec okButton(const char* help) { return button("?OK", "OK").help(help).makeDefault(); }

}  // namespace

int AskJumpPage(int current, int count) {
  std::int32_t page = current;
  WindowSpec design = windowSpec("Jump to a Report Page", "PreviewJump");
  design.controls = {
      prompt("&Page:"),
      spin("?Page", "@n5", bind(page), 1, count).help("Select a page of the report"),
      row({okButton("Jump to the selected page"), button("?Cancel", "Cancel").help("Cancel this selection").makeCancel()}),
  };
  Window window(design);
  if (!waitForOk(window, [](int) {})) return 0;
  return page >= 1 && page <= count ? page : 0;
}

bool AskDisplay(int& across, int& down) {
  std::int32_t a = across, d = down;
  WindowSpec design = windowSpec("Change the Report Display", "PreviewDisplay");
  design.controls = {
      region("?PagesDisplayed", {prompt("Across"), spin("?Across", "@n2", bind(a), 1, 10),
                                 prompt("Down"), spin("?Down", "@n2", bind(d), 1, 10)}),
      row({okButton("Accept the display"), button("?Cancel", "Cancel").makeCancel()}),
  };
  design.controls[0].text = "Pages Displayed";
  Window window(design);
  if (!waitForOk(window, [](int) {})) return false;
  across = std::clamp<int>(a, 1, 10);
  down = std::clamp<int>(d, 1, 10);
  return true;
}

bool AskPagesToPrint(std::string& text, int pageCount) {
  std::string entered = text;
  WindowSpec design = windowSpec("Pages to Print", "PreviewPagesToPrint");
  design.controls = {
      prompt("&Pages to Print:"),
      entry("?PagesToPrint", "@s255", bind(entered)),
      row({okButton("Print the pages given"), button("?Reset", "&Reset"), button("?Cancel", "&Cancel").makeCancel()}),
  };
  Window window(design);
  const int reset = window.number("?Reset");
  const bool ok = waitForOk(window, [&](int control) {
    if (control != reset) return;
    entered = DefaultPagesToPrint(pageCount);
    window.display();
  });
  if (!ok) return false;
  text = std::string(utf8Truncate(entered, kPagesToPrintChars));
  return true;
}

int ChooseOutput(bool offerPrint, const std::vector<std::string>& generators) {
  std::vector<std::string> names;
  if (offerPrint) names.push_back("Print");
  for (const std::string& g : generators) names.push_back(g);
  if (names.empty()) return 0;
  std::string chosen = names.front();
  std::vector<ControlSpec> radios;
  for (std::size_t i = 0; i < names.size(); ++i)
    radios.push_back(radio(names[i], names[i]).icon(i == 0 && offerPrint ? "EXP_PRI.ICO" : "EXP_" + names[i] + ".ICO"));
  WindowSpec design = windowSpec("Select an Output", "PreviewOutput");
  design.controls = {
      optionGroup("?Outputs", "", bind(chosen), std::move(radios)),
      row({button("?OK", "OK").icon("WAOk.ico").makeDefault(), button("?Cancel", "&Cancel").icon("WACancel.ico").makeCancel()}),
  };
  Window window(design);
  if (!waitForOk(window, [](int) {})) return 0;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == chosen) return static_cast<int>(i) + 1;
  return 0;
}

ExportProgress::ExportProgress(const std::string& target, int pages) : pages_(pages) {
  WindowSpec design = windowSpec("Progress...", "PreviewExport");
  design.controls = {
      prompt("Exporting to"),
      prompt(target, "?Target"),
      prompt("Page 0 of " + std::to_string(pages), "?PageText"),
      progress("?Thermometer", 0, 100),
  };
  window_ = std::make_unique<Window>(design);
  window_->open();
}

ExportProgress::~ExportProgress() = default;

void ExportProgress::pageDone(int done) {
  window_->control("?PageText")->setText("Page " + std::to_string(done) + " of " + std::to_string(pages_));
  const int percent = pages_ > 0 ? done * 100 / pages_ : 100;
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  window_->control("?Thermometer")->setValue(std::to_string(percent));
  // The pages go out in one call; the window shows how far it got without an event loop,
  // at most once per percent so that painting does not slow the output down.
  window_->repaint();
}

std::string ExportProgress::pageText() const { return window_->control("?PageText")->text(); }

}  // namespace vesp
