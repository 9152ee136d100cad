#include "runtime/gui/drop_list.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWheelEvent>
#include <utility>

namespace vrt {

DropListBox::DropListBox(std::function<void()> accepted, QWidget* parent)
    : QComboBox(parent), accepted_(std::move(accepted)) {
  // Qt reports a choice as "activated" however it was made; only its source tells them apart.
  connect(this, &QComboBox::activated, this, [this] {
    if (moving_) pending_ = true;
    else accept();
  });
}

void DropListBox::accept() {
  pending_ = false;
  if (accepted_) accepted_();
}

void DropListBox::keyPressEvent(QKeyEvent* event) {
  const bool open = view() && view()->isVisible();
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!open && !isEditable() && enter && pending_) {
    accept();
    event->accept();
    return;
  }
  // Alt+Down, F4 and the space bar open the list; whatever else the closed list takes moves it.
  moving_ = !open && !isEditable() && !(event->modifiers() & Qt::AltModifier);
  QComboBox::keyPressEvent(event);
  moving_ = false;
}

void DropListBox::wheelEvent(QWheelEvent* event) {
  moving_ = !isEditable();
  QComboBox::wheelEvent(event);
  moving_ = false;
}

void DropListBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // Not when its own list opens, nor when another window takes over for a moment.
  const Qt::FocusReason reason = event->reason();
  if (pending_ && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) accept();
}

}  // namespace vrt
