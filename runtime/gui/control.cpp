#include "runtime/gui/control.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <algorithm>

#include "runtime/gui/look.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/window.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Pictures pad to their width; an entry shows the value without the padding.
std::string trimmed(std::string s) {
  s = std::string(clip(s));
  s.erase(0, s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' '));
  return s;
}

}  // namespace

Control::Control(Window& window, const ControlSpec& design, int number)
    : window_(window),
      kind_(design.kind),
      use_(design.use),
      number_(number),
      binding_(design.binding),
      pictureText_(design.picture),
      items_(design.items),
      values_(design.values),
      icon_(design.iconName),
      stdAction_(design.stdAction),
      readOnly_(design.readOnly) {
  if (!design.picture.empty()) picture_ = Picture::parse(design.picture);
}

PagedList* Control::list() const { return qobject_cast<PagedList*>(widget_.data()); }

QWidget* Control::tabPage() const {
  auto* tabs = sheet_ ? qobject_cast<QTabWidget*>(sheet_->widget()) : nullptr;
  return tabs ? tabs->widget(tabIndex_) : nullptr;
}

std::string Control::text() const {
  if (action_) return action_->text().toStdString();
  if (kind_ == ControlKind::Tab && sheet_) {
    auto* tabs = qobject_cast<QTabWidget*>(sheet_->widget());
    return tabs ? tabs->tabText(tabIndex_).toStdString() : std::string();
  }
  QWidget* w = widget_;
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* t = qobject_cast<QPlainTextEdit*>(w)) return t->toPlainText().toStdString();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText().toStdString();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title().toStdString();
  if (auto* s = qobject_cast<QSpinBox*>(w)) return s->text().toStdString();
  if (auto* p = qobject_cast<QProgressBar*>(w)) return std::to_string(p->value());
  return {};
}

void Control::setText(std::string_view text) {
  if (action_) {
    action_->setText(qs(text));
    return;
  }
  if (kind_ == ControlKind::Tab && sheet_) {
    if (auto* tabs = qobject_cast<QTabWidget*>(sheet_->widget())) tabs->setTabText(tabIndex_, qs(text));
    return;
  }
  QWidget* w = widget_;
  if (!w) return;
  const QSignalBlocker quiet(w);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(qs(text));
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(qs(text));
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(qs(text));
  } else if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
    // Showing the same text again keeps the user's cursor where it was.
    if (t->toPlainText() != qs(text)) t->setPlainText(qs(text));
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    if (c->isEditable()) {
      c->setEditText(qs(text));
    } else {
      c->setCurrentIndex(c->findText(qs(text)));
    }
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(qs(text));
  } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
    auto n = picture_ ? picture_->deformat(text) : parsePlainNumber(text);
    s->setValue(n ? static_cast<int>(*n) : s->minimum());
  } else if (auto* p = qobject_cast<QProgressBar*>(w)) {
    p->setValue(qs(text).toInt());
  }
}

std::string Control::value() const {
  switch (kind_) {
    case ControlKind::Check: {
      auto* c = qobject_cast<QCheckBox*>(widget_.data());
      const bool on = c && c->isChecked();
      return values_.size() == 2 ? values_[on ? 0 : 1] : (on ? "1" : "0");
    }
    case ControlKind::OptionGroup: {
      int chosen = selected();
      return chosen > 0 && radios_[chosen - 1]->values_.size() == 1 ? radios_[chosen - 1]->values_[0] : std::string();
    }
    default:
      return text();
  }
}

void Control::setValue(std::string_view value) {
  switch (kind_) {
    case ControlKind::Check:
      if (auto* c = qobject_cast<QCheckBox*>(widget_.data())) {
        const QSignalBlocker quiet(c);
        c->setChecked(!values_.empty() ? equalText(value, values_[0]) : equalText(value, "1"));
      }
      return;
    case ControlKind::OptionGroup:
      showRadioFor(std::string(value));
      return;
    default:
      setText(value);
  }
}

void Control::showRadioFor(const std::string& value) {
  for (Control* r : radios_)
    if (auto* b = qobject_cast<QRadioButton*>(r->widget())) {
      const QSignalBlocker quiet(b);
      b->setAutoExclusive(false);
      b->setChecked(!r->values_.empty() && equalText(r->values_[0], value));
      b->setAutoExclusive(true);
    }
}

bool Control::disabled() const {
  if (action_) return !action_->isEnabled();
  if (kind_ == ControlKind::Tab && sheet_) {
    auto* tabs = qobject_cast<QTabWidget*>(sheet_->widget());
    return tabs && !tabs->isTabEnabled(tabIndex_);
  }
  return widget_ && widget_->testAttribute(Qt::WA_ForceDisabled);  // its own flag, not its window's
}

void Control::setDisabled(bool disabled) {
  if (action_) {
    action_->setEnabled(!disabled);
  } else if (kind_ == ControlKind::Tab && sheet_) {
    if (auto* tabs = qobject_cast<QTabWidget*>(sheet_->widget())) tabs->setTabEnabled(tabIndex_, !disabled);
  } else if (widget_) {
    widget_->setEnabled(!disabled);
  }
}

bool Control::hidden() const {
  if (action_) return !action_->isVisible();
  if (kind_ == ControlKind::Tab && sheet_) {
    auto* tabs = qobject_cast<QTabWidget*>(sheet_->widget());
    return tabs && !tabs->isTabVisible(tabIndex_);
  }
  return widget_ && widget_->isHidden();
}

void Control::setHidden(bool hidden) {
  if (action_) {
    action_->setVisible(!hidden);
  } else if (kind_ == ControlKind::Tab && sheet_) {
    if (auto* tabs = qobject_cast<QTabWidget*>(sheet_->widget())) tabs->setTabVisible(tabIndex_, !hidden);
  } else if (widget_) {
    widget_->setHidden(hidden);
  }
}

void Control::setReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  if (auto* e = qobject_cast<QLineEdit*>(widget_.data())) e->setReadOnly(readOnly);
  if (auto* t = qobject_cast<QPlainTextEdit*>(widget_.data())) t->setReadOnly(readOnly);
  if (auto* s = qobject_cast<QSpinBox*>(widget_.data())) s->setReadOnly(readOnly);
  if (auto* c = qobject_cast<QComboBox*>(widget_.data()); c && c->lineEdit()) c->lineEdit()->setReadOnly(readOnly);
}

std::string Control::tip() const {
  if (action_) return action_->toolTip().toStdString();
  QWidget* w = kind_ == ControlKind::Tab ? nullptr : widget_.data();
  return w ? w->toolTip().toStdString() : std::string();
}

void Control::setTip(std::string_view tip) {
  if (action_) {
    action_->setToolTip(qs(tip));
  } else if (kind_ == ControlKind::Tab && sheet_) {
    if (auto* tabs = qobject_cast<QTabWidget*>(sheet_->widget())) tabs->setTabToolTip(tabIndex_, qs(tip));
  } else if (widget_) {
    widget_->setToolTip(qs(tip));
  }
}

void Control::setIcon(std::string_view icon) {
  icon_ = std::string(icon);
  const QIcon qicon = iconFor(icon);
  if (action_) {
    action_->setIcon(qicon);
  } else if (auto* b = qobject_cast<QAbstractButton*>(widget_.data())) {
    b->setIcon(qicon);
  } else if (auto* l = qobject_cast<QLabel*>(widget_.data())) {
    l->setPixmap(qicon.pixmap(32, 32));
  }
}

void Control::setFont(std::string_view name, int pointSize) {
  if (action_) {
    action_->setFont(fontFor(name, pointSize));
  } else if (widget_) {
    widget_->setFont(fontFor(name, pointSize));
  }
}

bool Control::isDefault() const {
  auto* b = qobject_cast<QPushButton*>(widget_.data());
  return b && b->isDefault();
}

void Control::setDefault(bool isDefault) {
  auto* b = qobject_cast<QPushButton*>(widget_.data());
  if (!b) return;
  if (isDefault)
    for (const auto& other : window_.controls())
      if (auto* ob = qobject_cast<QPushButton*>(other->widget())) ob->setDefault(false);
  b->setDefault(isDefault);
}

int Control::selected() const {
  QWidget* w = widget_;
  if (auto* l = qobject_cast<PagedList*>(w)) return l->selectedRow();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentIndex() + 1;
  if (auto* t = qobject_cast<QTabWidget*>(w)) return t->currentIndex() + 1;
  if (kind_ == ControlKind::OptionGroup)
    for (std::size_t i = 0; i < radios_.size(); ++i)
      if (auto* r = qobject_cast<QRadioButton*>(radios_[i]->widget()); r && r->isChecked())
        return static_cast<int>(i) + 1;
  return 0;
}

void Control::setSelected(int index) {
  QWidget* w = widget_;
  if (!w) return;
  const QSignalBlocker quiet(w);
  if (auto* l = qobject_cast<PagedList*>(w)) {
    l->setSelectedRow(index);
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    c->setCurrentIndex(index >= 1 && index <= c->count() ? index - 1 : -1);
  } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
    if (index >= 1 && index <= t->count()) t->setCurrentIndex(index - 1);
  } else if (kind_ == ControlKind::OptionGroup && index >= 1 && index <= static_cast<int>(radios_.size())) {
    const auto& v = radios_[index - 1]->values_;
    showRadioFor(v.empty() ? std::string() : v[0]);
  }
}

int Control::visibleItems() const {
  if (auto* l = list()) return l->visibleItems();
  if (auto* c = qobject_cast<QComboBox*>(widget_.data())) return c->maxVisibleItems();
  return 0;
}

void Control::setVisibleItems(int rows) {
  if (auto* l = list()) l->setVisibleItems(rows);
  if (auto* c = qobject_cast<QComboBox*>(widget_.data())) c->setMaxVisibleItems(std::max(1, rows));
}

void Control::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  auto* c = qobject_cast<QComboBox*>(widget_.data());
  if (!c) return;
  const QSignalBlocker quiet(c);
  const QString current = c->currentText();
  c->clear();
  for (const std::string& item : items_) c->addItem(qs(item));
  if (c->isEditable()) {
    c->setEditText(current);
  } else {
    c->setCurrentIndex(c->findText(current));
  }
}

void Control::alertRange(int first, int last) {
  for (int key = first; key <= last; ++key) alerted_.insert(key);
}

bool Control::modified() const {
  if (auto* e = qobject_cast<QLineEdit*>(widget_.data())) return e->isModified();
  if (auto* t = qobject_cast<QPlainTextEdit*>(widget_.data())) return t->document()->isModified();
  if (auto* c = qobject_cast<QComboBox*>(widget_.data()); c && c->lineEdit()) return c->lineEdit()->isModified();
  return false;
}

void Control::markClean() {
  touched_ = false;
  if (auto* e = qobject_cast<QLineEdit*>(widget_.data())) e->setModified(false);
  if (auto* t = qobject_cast<QPlainTextEdit*>(widget_.data())) t->document()->setModified(false);
  if (auto* c = qobject_cast<QComboBox*>(widget_.data()); c && c->lineEdit()) c->lineEdit()->setModified(false);
}

void Control::display() {
  if (!binding_.bound()) return;
  switch (kind_) {
    case ControlKind::Entry:
    case ControlKind::Combo:
    case ControlKind::Spin:
      setText(trimmed(binding_.display(picture_)));
      break;
    case ControlKind::TextBox:
      setText(std::string(clip(binding_.display(picture_))));
      break;
    case ControlKind::Check:
    case ControlKind::OptionGroup:
      setValue(binding_.value());
      break;
    case ControlKind::DropList: {
      const std::string v = binding_.display(picture_);
      auto it = std::find_if(items_.begin(), items_.end(), [&](const std::string& i) { return equalText(i, v); });
      setSelected(it == items_.end() ? 0 : static_cast<int>(it - items_.begin()) + 1);
      break;
    }
    default:
      break;
  }
  markClean();
}

bool Control::update() {
  if (!binding_.bound()) return true;
  bool accepted = true;
  switch (kind_) {
    case ControlKind::Entry:
    case ControlKind::Combo:
    case ControlKind::Spin:
    case ControlKind::TextBox:
    case ControlKind::DropList:
      accepted = binding_.accept(text(), picture_);
      break;
    case ControlKind::Check:
    case ControlKind::OptionGroup:
      accepted = binding_.setValue(value());
      break;
    default:
      break;
  }
  if (accepted) display();
  return accepted;
}

}  // namespace vrt
