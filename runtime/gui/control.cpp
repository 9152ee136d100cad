#include "runtime/gui/control.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <algorithm>

#include "runtime/gui/look.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/window.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

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
      readOnly_(design.readOnly),
      face_(faceFor(*this, nullptr)) {
  if (!design.picture.empty()) picture_ = Picture::parse(design.picture);
}

Control::~Control() = default;

PagedList* Control::list() const { return qobject_cast<PagedList*>(widget_.data()); }

void Control::attach(QWidget* widget) {
  widget_ = widget;
  face_ = faceFor(*this, widget);
}

void Control::attach(QAction* action) {
  action_ = action;
  face_ = faceFor(action);
}

void Control::attachTab(Control* sheet, int index) {
  sheet_ = sheet;
  tabIndex_ = index;
  face_ = faceForTab(qobject_cast<QTabWidget*>(sheet->widget()), widget_, index);
}

std::string Control::text() const { return face_->text(); }
void Control::setText(std::string_view text) { face_->setText(text); }

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

void Control::setReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  face_->setReadOnly(readOnly);
}

void Control::setIcon(std::string_view icon) {
  icon_ = std::string(icon);
  face_->setIcon(iconFor(icon));
}

void Control::setFont(std::string_view name, int pointSize) { face_->setFont(fontFor(name, pointSize)); }

void Control::setDefault(bool isDefault) {
  if (isDefault)
    for (const auto& other : window_.controls())
      if (other.get() != this) other->face_->setDefault(false);
  face_->setDefault(isDefault);
}

int Control::selected() const {
  if (kind_ == ControlKind::OptionGroup)
    for (std::size_t i = 0; i < radios_.size(); ++i)
      if (auto* r = qobject_cast<QRadioButton*>(radios_[i]->widget()); r && r->isChecked())
        return static_cast<int>(i) + 1;
  return face_->selected();
}

void Control::setSelected(int index) {
  if (kind_ == ControlKind::OptionGroup) {
    if (index >= 1 && index <= static_cast<int>(radios_.size())) {
      const auto& v = radios_[index - 1]->values_;
      showRadioFor(v.empty() ? std::string() : v[0]);
    }
    return;
  }
  face_->setSelected(index);
}

int Control::visibleItems() const { return face_->visibleItems(); }
void Control::setVisibleItems(int rows) { face_->setVisibleItems(rows); }

void Control::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  face_->setItems(items_);
}

void Control::alertRange(int first, int last) {
  for (int key = first; key <= last; ++key) alerted_.insert(key);
}

bool Control::modified() const { return face_->modified(); }

void Control::markClean() {
  touched_ = false;
  face_->markClean();
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
