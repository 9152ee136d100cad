#include "windows/preview_window.h"

#include "runtime/gui/file_dialog.h"
#include "runtime/gui/printer_setup.h"
#include "runtime/gui/window.h"
#include "runtime/print/page_output.h"
#include "runtime/print/page_view.h"
#include "runtime/print/printer.h"
#include "windows/page_selection.h"
#include "windows/preview_dialogs.h"
#include "windows/preview_zoom.h"
#include "windows/report_manager.h"
#include "windows/report_outputs.h"
#include "windows/save_name.h"
#include "windows/window_placement.h"
#include "windows/window_room.h"

namespace vesp {

using namespace vrt;

namespace {

constexpr const char* kPreviewSection = "_PreviewWindow_";
constexpr int kPageClicked = kEventUser + 1;

std::string zoomUse(std::size_t i) { return "?Zoom" + std::to_string(i + 1); }

class Preview {
 public:
  Preview(PageStore& pages, const PreviewOptions& options)
      : pages_(pages), options_(options), pagesToPrint_(DefaultPagesToPrint(pages.count())) {
    RegisterStandardOutputs();
    window_ = std::make_unique<Window>(design());
    view_ = new PageView(pages_);
    // The pages take all the room the window has.
    window_->control("?PreviewPages")->fill(view_);
    view_->setSelected([this](int page) { return PageSelected(pagesToPrint_, page); });
    view_->setClicked([this](int page, double fraction) {
      clickedPage_ = page;
      clickedFraction_ = fraction;
      window_->postFromWidget(kPageClicked, window_->number("?PreviewPages"));
    });
    window_->alert(kPgUpKey);
    window_->alert(kPgDnKey);
    const auto& generators = OutputGenerators();
    Control* saveAs = window_->control("?SaveAs");
    saveAs->setDisabled(generators.empty());
    if (generators.size() == 1) saveAs->setText("Save As -" + generators.front().name);
    Control* zoom = window_->control("?ZoomList");
    if (!options_.allowZoom) zoom->setHidden(true);
    // A typed percentage must stay what was typed, not complete to the first entry.
    zoom->setCompletes(false);
  }

  PreviewOutcome run() {
    // Over the frame with room for the pages, unless the user gave it a place of its own.
    CentreOverOwner(*window_, 0.9);
    RestoreWindowPlacement(kPreviewSection, *window_);
    window_->open();
    if (options_.maximize) WindowPlacement(*window_).SetMaximized(true);
    refresh();
    for (;;) {
      const Event e = window_->accept();
      if (e.event == kEventCloseWindow || e.event == kEventCloseDown) break;
      if (!handle(e)) break;
    }
    SaveWindowPlacement(kPreviewSection, *window_);
    return outcome_;
  }

 private:
  WindowSpec design() {
    const int count = std::max(1, pages_.count());
    WindowSpec d = windowSpec("Report Preview", "ReportPreview");
    std::vector<ControlSpec> zoomItems;
    for (std::size_t i = 0; i < kZoomTable.size(); ++i) zoomItems.push_back(menuItem(zoomUse(i), kZoomTable[i].menuText));
    d.menus = {
        menu("&File", {menuItem("?PrintSelection", "Pa&ges to Print...").help("Select which pages to print"),
                       menuItem("?Print", "&Print").help("Print the report"),
                       menuItem("?SaveAs", "&Save As...").help("Save the report"), separator(),
                       menuItem("?Exit", "E&xit").help("Exit without printing the report")}),
        menu("&View", {menuItem("?Next", "&Next Page(s)").help("View the next page or pages of the report"),
                       menuItem("?Previous", "&Previous Page(s)").help("View the previous page or pages of the report"),
                       menuItem("?Jump", "&Jump to a page").help("Jump to a specific page of the report"),
                       menuItem("?ChangeDisplay", "&Change Display").help("Change the number of pages displayed")}),
        menu("&Zoom", std::move(zoomItems)),
    };
    std::vector<std::string> zoomTexts;
    for (const ZoomEntry& z : kZoomTable) zoomTexts.push_back(z.menuText);
    d.toolbar = {
        toolButton("?TBPrint", "Print").icon("PRINT.ICO").tip("Print this report").help("Print this report"),
        toolButton("?TBExit", "Exit").icon("EXIT.ICO").tip("Exit without printing the report")
            .help("Exit without printing the report"),
        toolButton("?TBZoom", "Zoom").icon("ZOOM.ICO").tip("Zoom in on a page of the report")
            .help("Zoom in on a page of the report"),
        prompt("&Page:"),
        spin("?CurrentPage", "@n5", bind(current_), 1, count)
            .help("Enter a page number from 1 to " + std::to_string(pages_.count())),
        prompt("&Across:"),
        spin("?PagesAcross", "@n2", bind(across_), 1, 10).help("Select the number of thumbnails in a row"),
        prompt("&Down:"),
        spin("?PagesDown", "@n2", bind(down_), 1, 10).help("Select the number of thumbnails in a column"),
        prompt("Z&oom:"),
        combo("?ZoomList", "@s20", zoomTexts, bind(zoomText_)).help("Set zoom to standard or user defined value"),
    };
    d.controls = {region("?PreviewPages")};
    d.statusZones = {0, 170, 150};
    return d;
  }

  int percent() const { return entry_ > 0 ? kZoomTable[static_cast<std::size_t>(entry_ - 1)].percent : free_; }
  bool tiles() const { return percent() == PageView::kTile; }

  void refresh() {
    const int count = pages_.count();
    current_ = std::clamp<int>(current_, 1, std::max(1, count));
    view_->show(current_, across_, down_, percent());
    const int shown = view_->shownCount();
    window_->setStatusText(2, PreviewPageStatus(current_, tiles() ? shown : 1, count));
    window_->setStatusText(3, PreviewZoomStatus(entry_, free_));
    window_->control("?Previous")->setDisabled(current_ <= 1);
    window_->control("?Next")->setDisabled(current_ + std::max(1, shown) > count);
    const bool single = count <= 1;
    for (const char* use : {"?CurrentPage", "?PagesAcross", "?PagesDown", "?ChangeDisplay"})
      window_->control(use)->setDisabled(single);
    Control* page = window_->control("?CurrentPage");
    page->setRange(1, std::max(1, count));
    page->setHelp("Enter a page number from 1 to " + std::to_string(count));
    for (const char* use : {"?CurrentPage", "?PagesAcross", "?PagesDown"}) window_->control(use)->display();
    // The zoom list is shown again only when the zoom changed, so that text being typed
    // into it stays while other controls are taken.
    const int shownZoom = entry_ > 0 ? -100 - entry_ : free_;
    if (shownZoom != shownZoom_) {
      shownZoom_ = shownZoom;
      zoomText_ = entry_ > 0 ? kZoomTable[static_cast<std::size_t>(entry_ - 1)].menuText : std::to_string(free_) + "%";
      window_->control("?ZoomList")->display();
    }
  }

  void setZoom(int entry) {
    entry_ = entry;
    refresh();
  }

  void move(int pages) {
    current_ += pages;
    refresh();
  }

  // False ends the preview.
  bool handle(const Event& e) {
    const Window& w = *window_;
    if (e.event == kPageClicked) {
      current_ = clickedPage_;
      if (tiles()) {
        setZoom(2);
        view_->scrollToFraction(clickedFraction_);
      } else {
        setZoom(1);
      }
      return true;
    }
    if (e.event == kEventAlertKey) {
      const int key = w.keyCode();
      if (key == kPgUpKey && !w.control("?Previous")->disabled()) move(-view_->shownCount());
      if (key == kPgDnKey && !w.control("?Next")->disabled()) move(view_->shownCount());
      return true;
    }
    const int c = e.control;
    if (e.event == kEventNewSelection || e.event == kEventAccepted) {
      if (c == w.number("?CurrentPage") || c == w.number("?PagesAcross") || c == w.number("?PagesDown")) {
        window_->control(c)->update();
        refresh();
        return true;
      }
      if (c == w.number("?ZoomList")) {
        window_->control(c)->update();
        int percent = 0;
        const int entry = ParseZoomChoice(zoomText_, percent);
        if (entry > 0) entry_ = entry;
        if (entry == 0) {
          entry_ = 0;
          free_ = percent;
        }
        refresh();
        return true;
      }
    }
    if (e.event != kEventAccepted) return true;
    for (std::size_t i = 0; i < kZoomTable.size(); ++i)
      if (c == w.number(zoomUse(i))) setZoom(static_cast<int>(i) + 1);
    if (c == w.number("?Exit") || c == w.number("?TBExit")) return false;
    if (c == w.number("?Next")) move(std::max(1, view_->shownCount()));
    if (c == w.number("?Previous")) move(-std::max(1, view_->shownCount()));
    if (c == w.number("?TBZoom")) setZoom(tiles() ? 2 : 1);
    if (c == w.number("?Jump")) {
      if (const int page = AskJumpPage(current_, pages_.count())) current_ = page;
      refresh();
    }
    if (c == w.number("?ChangeDisplay")) {
      int across = across_, down = down_;
      if (AskDisplay(across, down)) {
        across_ = across;
        down_ = down;
      }
      refresh();
    }
    if (c == w.number("?PrintSelection")) {
      AskPagesToPrint(pagesToPrint_, pages_.count());
      view_->update();
      refresh();
    }
    if (c == w.number("?SaveAs")) saveAs();
    if (c == w.number("?Print") || c == w.number("?TBPrint")) return !print();
    return true;
  }

  // A pages-to-print text that selects no page leaves nothing to put out: the user is told,
  // and the preview keeps every page.
  bool noPageChosen(const char* action) {
    if (!SelectedPages(pagesToPrint_, pages_.count()).empty()) return false;
    const int count = pages_.count();
    ReportOutputError("The pages to print, \"" + pagesToPrint_ + "\", select none of the report's " +
                      std::to_string(count) + (count == 1 ? " page" : " pages") + ", so nothing was " + action +
                      ". Choose Pages to Print... to change them.");
    return true;
  }

  // Printed pages end the preview; a failure is reported and the preview stays.
  bool print() {
    if (noPageChosen("printed")) return false;
    if (!PrintDialog(*window_)) return false;
    for (int p = pages_.count(); p >= 1; --p)
      if (!PageSelected(pagesToPrint_, p)) pages_.drop(p);
    pagesToPrint_ = DefaultPagesToPrint(pages_.count());
    view_->reload();
    std::vector<int> all;
    for (int p = 1; p <= pages_.count(); ++p) all.push_back(p);
    const OutputResult r = printPages(sharedPrinter(), pages_, all);
    refresh();
    if (!r.ok) {
      ReportOutputError(r.error.toStdString());
      return false;
    }
    outcome_.printed = true;
    return true;
  }

  void saveAs() {
    const auto& generators = OutputGenerators();
    if (generators.empty() || noPageChosen("saved")) return;
    std::size_t which = 0;
    if (generators.size() > 1) {
      std::vector<std::string> names;
      for (const OutputGenerator& g : generators) names.push_back(g.name);
      const int chosen = ChooseOutput(false, names);
      if (chosen == 0) return;
      which = static_cast<std::size_t>(chosen - 1);
    }
    const OutputGenerator& g = generators[which];
    FileDialogRequest request;
    request.title = "Save As " + g.name;
    request.defaultName = "Report." + g.extension;
    request.masks = {{g.name + " Files", "*." + g.extension}, {"All Files", "*.*"}};
    const std::string path = AskSaveName(request, g.extension, request.title);
    if (path.empty()) return;
    const std::vector<int> selected = SelectedPages(pagesToPrint_, pages_.count());
    OutputResult r;
    {
      ExportProgress progress(path, static_cast<int>(selected.size()));
      r = g.write(pages_, selected, path, [&progress](int done, int) {
        progress.pageDone(done);
        return true;
      });
    }
    if (!r.ok) ReportOutputError(r.error.toStdString());
    else outcome_.saved = true;
  }

  PageStore& pages_;
  PreviewOptions options_;
  std::string pagesToPrint_;
  std::unique_ptr<Window> window_;
  PageView* view_ = nullptr;
  std::int32_t current_ = 1, across_ = 2, down_ = 2;
  int entry_ = 1, free_ = 100, shownZoom_ = 0;
  std::string zoomText_;
  int clickedPage_ = 0;
  double clickedFraction_ = 0;
  PreviewOutcome outcome_;
};

}  // namespace

PreviewOutcome RunPreview(PageStore& pages, const PreviewOptions& options) {
  Preview preview(pages, options);
  return preview.run();
}

}  // namespace vesp
