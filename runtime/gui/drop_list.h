#pragma once
// A drop list that runs a choice only when the user accepts it. Arrow keys, paging keys,
// typed letters and the wheel on the closed list only move the choice it shows; Enter
// there, a click on an item of the open list, or Enter in it accepts. A choice moved but
// not accepted is accepted when the focus moves on to another control, so that what the
// list shows is what its window uses.
#include <QComboBox>
#include <functional>

namespace vrt {

class DropListBox : public QComboBox {
 public:
  // `accepted` runs for every accepted choice.
  DropListBox(std::function<void()> accepted, QWidget* parent = nullptr);

  // Whether the list shows a choice the user moved to but has not accepted.
  bool choicePending() const { return pending_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void accept();

  std::function<void()> accepted_;
  bool moving_ = false;   // Qt reports a choice made with keys or the wheel on the closed list
  bool pending_ = false;
};

}  // namespace vrt
