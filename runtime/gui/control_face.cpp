#include "runtime/gui/control_face.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

#include "runtime/gui/control.h"
#include "runtime/gui/paged_list.h"

namespace vrt {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

// The plain-widget behaviour every face starts from.
bool Face::disabled() const { return widget_ && widget_->testAttribute(Qt::WA_ForceDisabled); }  // its own flag, not its window's
void Face::setDisabled(bool disabled) {
  if (widget_) widget_->setEnabled(!disabled);
}
bool Face::hidden() const { return widget_ && widget_->isHidden(); }
void Face::setHidden(bool hidden) {
  if (widget_) widget_->setHidden(hidden);
}
std::string Face::tip() const { return widget_ ? widget_->toolTip().toStdString() : std::string(); }
void Face::setTip(std::string_view tip) {
  if (widget_) widget_->setToolTip(qs(tip));
}
QFont Face::font() const { return widget_ ? widget_->font() : QFont(); }
void Face::setFont(const QFont& font) {
  if (widget_) widget_->setFont(font);
}
QColor Face::color() const { return widget_ ? widget_->palette().color(widget_->foregroundRole()) : QColor(); }
void Face::setColor(const QColor& color) {
  if (!widget_) return;
  QPalette palette = widget_->palette();
  palette.setColor(widget_->foregroundRole(),
                   color.isValid() ? color : QPalette().color(widget_->foregroundRole()));
  widget_->setPalette(palette);
}
QColor Face::background() const { return widget_ ? widget_->palette().color(widget_->backgroundRole()) : QColor(); }
void Face::setBackground(const QColor& color) {
  if (!widget_) return;
  QPalette palette = widget_->palette();
  palette.setColor(widget_->backgroundRole(),
                   color.isValid() ? color : QPalette().color(widget_->backgroundRole()));
  widget_->setPalette(palette);
  widget_->setAutoFillBackground(color.isValid());
}
Qt::CursorShape Face::cursor() const { return widget_ ? widget_->cursor().shape() : Qt::ArrowCursor; }
void Face::setCursor(Qt::CursorShape shape) {
  if (widget_) widget_->setCursor(shape);
}

namespace {

template <typename W>
class FaceOf : public Face {
 public:
  explicit FaceOf(W* widget) : Face(widget) {}

 protected:
  W* q() const { return static_cast<W*>(widget()); }
};

class PlainFace : public Face {
 public:
  explicit PlainFace(QWidget* widget) : Face(widget) {}
};

class ActionFace : public Face {
 public:
  explicit ActionFace(QAction* action) : Face(nullptr), action_(action) {}
  std::string text() const override { return action_ ? action_->text().toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (action_) action_->setText(qs(text));
  }
  bool disabled() const override { return action_ && !action_->isEnabled(); }
  void setDisabled(bool disabled) override {
    if (action_) action_->setEnabled(!disabled);
  }
  bool hidden() const override { return action_ && !action_->isVisible(); }
  void setHidden(bool hidden) override {
    if (action_) action_->setVisible(!hidden);
  }
  std::string tip() const override { return action_ ? action_->toolTip().toStdString() : std::string(); }
  void setTip(std::string_view tip) override {
    if (action_) action_->setToolTip(qs(tip));
  }
  void setIcon(const QIcon& icon) override {
    if (action_) action_->setIcon(icon);
  }
  QFont font() const override { return action_ ? action_->font() : QFont(); }
  void setFont(const QFont& font) override {
    if (action_) action_->setFont(font);
  }

 private:
  QPointer<QAction> action_;
};

// One tab of a sheet: its caption, state and tip live on the sheet; its font, colour
// and cursor on the page.
class TabFace : public Face {
 public:
  TabFace(QTabWidget* tabs, QWidget* page, int index) : Face(page), tabs_(tabs), index_(index) {}
  std::string text() const override { return tabs_ ? tabs_->tabText(index_).toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (tabs_) tabs_->setTabText(index_, qs(text));
  }
  bool disabled() const override { return tabs_ && !tabs_->isTabEnabled(index_); }
  void setDisabled(bool disabled) override {
    if (tabs_) tabs_->setTabEnabled(index_, !disabled);
  }
  bool hidden() const override { return tabs_ && !tabs_->isTabVisible(index_); }
  void setHidden(bool hidden) override {
    if (tabs_) tabs_->setTabVisible(index_, !hidden);
  }
  std::string tip() const override { return tabs_ ? tabs_->tabToolTip(index_).toStdString() : std::string(); }
  void setTip(std::string_view tip) override {
    if (tabs_) tabs_->setTabToolTip(index_, qs(tip));
  }
  void setIcon(const QIcon& icon) override {
    if (tabs_) tabs_->setTabIcon(index_, icon);
  }
  QColor color() const override { return tabs_ ? tabs_->tabBar()->tabTextColor(index_) : QColor(); }
  void setColor(const QColor& color) override {
    if (tabs_) tabs_->tabBar()->setTabTextColor(index_, color);
  }

 private:
  QPointer<QTabWidget> tabs_;
  int index_;
};

class LineEditFace : public FaceOf<QLineEdit> {
 public:
  using FaceOf::FaceOf;
  std::string text() const override { return q() ? q()->text().toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    q()->setText(qs(text));
  }
  void setReadOnly(bool readOnly) override {
    if (q()) q()->setReadOnly(readOnly);
  }
  bool modified() const override { return q() && q()->isModified(); }
  void markClean() override {
    if (q()) q()->setModified(false);
  }
  void setAlignment(Qt::Alignment alignment) override {
    if (q()) q()->setAlignment(alignment);
  }
  void setMaxLength(int characters) override {
    if (q()) q()->setMaxLength(characters > 0 ? characters : 32767);
  }
  bool insertAtCursor(std::string_view text) override {
    if (!q() || q()->isReadOnly()) return false;
    q()->insert(qs(text));  // as typed: the entry is modified
    return true;
  }
};

class LabelFace : public FaceOf<QLabel> {
 public:
  using FaceOf::FaceOf;
  std::string text() const override { return q() ? q()->text().toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (q()) q()->setText(qs(text));
  }
  void setIcon(const QIcon& icon) override {
    if (q()) q()->setPixmap(icon.pixmap(32, 32));
  }
  void setAlignment(Qt::Alignment alignment) override {
    if (q()) q()->setAlignment(alignment);
  }
};

class ButtonFace : public FaceOf<QAbstractButton> {
 public:
  using FaceOf::FaceOf;
  std::string text() const override { return q() ? q()->text().toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    q()->setText(qs(text));
  }
  void setIcon(const QIcon& icon) override {
    if (q()) q()->setIcon(icon);
  }
  bool isDefault() const override {
    auto* b = qobject_cast<QPushButton*>(q());
    return b && b->isDefault();
  }
  void setDefault(bool isDefault) override {
    if (auto* b = qobject_cast<QPushButton*>(q())) b->setDefault(isDefault);
  }
};

class PlainTextFace : public FaceOf<QPlainTextEdit> {
 public:
  using FaceOf::FaceOf;
  std::string text() const override { return q() ? q()->toPlainText().toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    // Showing the same text again keeps the user's cursor where it was.
    if (q()->toPlainText() != qs(text)) q()->setPlainText(qs(text));
  }
  void setReadOnly(bool readOnly) override {
    if (q()) q()->setReadOnly(readOnly);
  }
  bool modified() const override { return q() && q()->document()->isModified(); }
  void markClean() override {
    if (q()) q()->document()->setModified(false);
  }
  bool insertAtCursor(std::string_view text) override {
    if (!q() || q()->isReadOnly()) return false;
    q()->insertPlainText(qs(text));  // marks the document modified
    return true;
  }
};

class ComboFace : public FaceOf<QComboBox> {
 public:
  using FaceOf::FaceOf;
  std::string text() const override { return q() ? q()->currentText().toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    if (q()->isEditable()) {
      q()->setEditText(qs(text));
    } else {
      q()->setCurrentIndex(q()->findText(qs(text)));
    }
  }
  void setReadOnly(bool readOnly) override {
    if (q() && q()->lineEdit()) q()->lineEdit()->setReadOnly(readOnly);
  }
  int selected() const override { return q() ? q()->currentIndex() + 1 : 0; }
  void setSelected(int index) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    q()->setCurrentIndex(index >= 1 && index <= q()->count() ? index - 1 : -1);
  }
  int visibleItems() const override { return q() ? q()->maxVisibleItems() : 0; }
  void setVisibleItems(int rows) override {
    if (q()) q()->setMaxVisibleItems(std::max(1, rows));
  }
  void setItems(const std::vector<std::string>& items) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    const QString current = q()->currentText();
    q()->clear();
    for (const std::string& item : items) q()->addItem(qs(item));
    if (q()->isEditable()) {
      q()->setEditText(current);
    } else {
      q()->setCurrentIndex(q()->findText(current));
    }
  }
  bool modified() const override { return q() && q()->lineEdit() && q()->lineEdit()->isModified(); }
  void markClean() override {
    if (q() && q()->lineEdit()) q()->lineEdit()->setModified(false);
  }
  bool insertAtCursor(std::string_view text) override {
    if (!q() || !q()->lineEdit() || q()->lineEdit()->isReadOnly()) return false;
    q()->lineEdit()->insert(qs(text));
    return true;
  }
};

class GroupFace : public FaceOf<QGroupBox> {
 public:
  using FaceOf::FaceOf;
  std::string text() const override { return q() ? q()->title().toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (q()) q()->setTitle(qs(text));
  }
};

// A spin reads typed text through its control's picture, which may change at run time.
class SpinFace : public FaceOf<QSpinBox> {
 public:
  SpinFace(Control& control, QSpinBox* spin) : FaceOf(spin), control_(control) {}
  std::string text() const override { return q() ? q()->text().toStdString() : std::string(); }
  void setText(std::string_view text) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    auto n = control_.picture() ? control_.picture()->deformat(text) : parsePlainNumber(text);
    q()->setValue(n ? static_cast<int>(*n) : q()->minimum());
  }
  void setReadOnly(bool readOnly) override {
    if (q()) q()->setReadOnly(readOnly);
  }
  void setRange(int low, int high) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    q()->setRange(low, std::max(low, high));
  }
  void setAlignment(Qt::Alignment alignment) override {
    if (q()) q()->setAlignment(alignment);
  }

 private:
  Control& control_;
};

class ProgressFace : public FaceOf<QProgressBar> {
 public:
  using FaceOf::FaceOf;
  std::string text() const override { return q() ? std::to_string(q()->value()) : std::string(); }
  void setText(std::string_view text) override {
    if (q()) q()->setValue(qs(text).toInt());
  }
  void setRange(int low, int high) override {
    if (q()) q()->setRange(low, std::max(low, high));
  }
};

class ListFace : public FaceOf<PagedList> {
 public:
  using FaceOf::FaceOf;
  int selected() const override { return q() ? q()->selectedRow() : 0; }
  void setSelected(int row) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    q()->setSelectedRow(row);
  }
  int visibleItems() const override { return q() ? q()->visibleItems() : 0; }
  void setVisibleItems(int rows) override {
    if (q()) q()->setVisibleItems(rows);
  }
};

class SheetFace : public FaceOf<QTabWidget> {
 public:
  using FaceOf::FaceOf;
  int selected() const override { return q() ? q()->currentIndex() + 1 : 0; }
  void setSelected(int index) override {
    if (!q()) return;
    const QSignalBlocker quiet(q());
    if (index >= 1 && index <= q()->count()) q()->setCurrentIndex(index - 1);
  }
};

}  // namespace

std::unique_ptr<Face> faceFor(Control& control, QWidget* w) {
  if (auto* x = qobject_cast<QLineEdit*>(w)) return std::make_unique<LineEditFace>(x);
  if (auto* x = qobject_cast<QLabel*>(w)) return std::make_unique<LabelFace>(x);
  if (auto* x = qobject_cast<QAbstractButton*>(w)) return std::make_unique<ButtonFace>(x);
  if (auto* x = qobject_cast<QPlainTextEdit*>(w)) return std::make_unique<PlainTextFace>(x);
  if (auto* x = qobject_cast<QComboBox*>(w)) return std::make_unique<ComboFace>(x);
  if (auto* x = qobject_cast<QGroupBox*>(w)) return std::make_unique<GroupFace>(x);
  if (auto* x = qobject_cast<QSpinBox*>(w)) return std::make_unique<SpinFace>(control, x);
  if (auto* x = qobject_cast<QProgressBar*>(w)) return std::make_unique<ProgressFace>(x);
  if (auto* x = qobject_cast<PagedList*>(w)) return std::make_unique<ListFace>(x);
  if (auto* x = qobject_cast<QTabWidget*>(w)) return std::make_unique<SheetFace>(x);
  return std::make_unique<PlainFace>(w);
}

std::unique_ptr<Face> faceFor(QAction* action) { return std::make_unique<ActionFace>(action); }

std::unique_ptr<Face> faceForTab(QTabWidget* tabs, QWidget* page, int index) {
  return std::make_unique<TabFace>(tabs, page, index);
}

}  // namespace vrt
