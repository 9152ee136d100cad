#pragma once
// The browse procedure that a BrowseDecl describes: a WindowController whose window holds a
// paged list driven by a BrowseManager, with the screen conventions every browse follows.
#include <memory>
#include <vector>

#include "runtime/gui/window.h"
#include "windows/browse_declaration.h"
#include "windows/browse_manager.h"
#include "windows/hyperlink_manager.h"
#include "windows/list_cells.h"
#include "windows/window_controller.h"

namespace vesp {

// The list control interface over a window's paged list: the rows' shown columns (the
// hidden ones after them stay in the queue).
class PagedListControl : public ListControl {
 public:
  PagedListControl(vrt::Window& window, int control, std::size_t columns);
  int Choice() const override;
  int Control() const override { return control_; }
  int Items() const override;
  bool Visible() const override;
  void SetChoice(int row) override;
  void Show(const std::vector<ListRow>& rows) override;
  void SetThumb(int position, bool visible) override;

 private:
  vrt::Window& window_;
  int control_;
  std::size_t columns_;
};

class ChildBrowse;

class BrowseScreen : public WindowController {
 public:
  explicit BrowseScreen(const BrowseDecl& decl);
  ~BrowseScreen() override;

  const BrowseDecl& Decl() const { return decl_; }
  BrowseManager& Browse();

  [[nodiscard]] bool Setup() override;
  void Shutdown() override;
  [[nodiscard]] Response RunProcedure(const Procedure& procedure, Request request) override;
  [[nodiscard]] EventResult OnAccepted() override;
  [[nodiscard]] EventResult OnCloseRequest() override;
  [[nodiscard]] EventResult OnEvent() override;

  vrt::WindowSpec BuildWindowSpec() const;

 private:
  const BrowseDecl& decl_;
  std::unique_ptr<vrt::Window> window_;
  std::unique_ptr<vrt::View> view_;
  ListQueue queue_;
  std::unique_ptr<PagedListControl> list_;
  std::unique_ptr<BrowseManager> browse_;
  std::unique_ptr<HyperlinkManager> links_;  // when a column is a hyperlink
  std::unique_ptr<WindowComponent> attached_;  // the declaration's own part, if any
  std::unique_ptr<ListCells> cells_;
  std::vector<std::unique_ptr<ChildBrowse>> children_;
  Toolbar toolbar_;
  bool primaryOpened_ = false;
  bool cleared_ = false;  // "C&lear" closed it
};

}  // namespace vesp
