#pragma once
// What a browse holds in memory: the rows of the visible page only, each with its column
// values (as the record's fields hold them; the list control formats them) and the record's
// place in the view, so that paging can read on from either end.
#include <string>
#include <vector>

namespace vesp {

struct ListRow {
  std::vector<std::string> columns;
  std::string position;  // the view's position of the row's record
};

// The list-queue interface of a browse, over one in-memory queue. Rows are 1-based.
class ListQueue {
 public:
  int Records() const { return static_cast<int>(rows_.size()); }
  void Insert(ListRow row) { rows_.push_back(std::move(row)); }
  void Insert(int at, ListRow row) { rows_.insert(rows_.begin() + (at - 1), std::move(row)); }
  const ListRow& Fetch(int row) const { return rows_[static_cast<std::size_t>(row - 1)]; }
  void Update(int row, ListRow value) { rows_[static_cast<std::size_t>(row - 1)] = std::move(value); }
  void Delete(int row) { rows_.erase(rows_.begin() + (row - 1)); }
  void Free() { rows_.clear(); }
  const std::string& GetViewPosition(int row) const { return Fetch(row).position; }
  // The row whose record is at `position`, 0 when none is.
  int Find(const std::string& position) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
      if (rows_[i].position == position) return static_cast<int>(i) + 1;
    return 0;
  }
  const std::vector<ListRow>& rows() const { return rows_; }

 private:
  std::vector<ListRow> rows_;
};

// The list-control interface of a browse: what it needs of the control that shows the page.
class ListControl {
 public:
  virtual ~ListControl() = default;
  virtual int Choice() const = 0;  // the highlighted row, 0 for none
  virtual int Control() const = 0;  // its control number
  virtual int Items() const = 0;    // visible rows
  virtual bool Visible() const = 0;
  virtual void SetChoice(int row) = 0;
  // Shows the page; the thumb (0 to 100) and whether the scroll bar is shown.
  virtual void Show(const std::vector<ListRow>& rows) = 0;
  virtual void SetThumb(int position, bool visible) = 0;
};

}  // namespace vesp
