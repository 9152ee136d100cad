#include "runtime/gui/control.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <algorithm>
#include <unordered_map>
#include <utility>

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

// Controls showing text their picture refused, with their variable as it was shown then:
// showing the window again must not put the old value back over what the user typed.
std::unordered_map<const Control*, std::string>& refusals() {
  static std::unordered_map<const Control*, std::string> map;
  return map;
}

}  // namespace

namespace {

// Typing stops where a text picture ends, where the user sees it, rather than the value
// being cut when it is taken.
void limitToPicture(Face& face, ControlKind kind, const std::optional<Picture>& picture) {
  if (kind != ControlKind::Entry) return;
  face.setMaxLength(picture && picture->kind() == Picture::Kind::Text ? picture->width() : 0);
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
      isCancel_(design.isCancel),
      low_(design.low),
      high_(design.high),
      help_(design.helpText),
      face_(faceFor(*this, nullptr)) {
  if (!design.picture.empty()) picture_ = Picture::parse(design.picture);
}

Control::~Control() { refusals().erase(this); }

PagedList* Control::list() const { return qobject_cast<PagedList*>(widget_.data()); }

void Control::attach(QWidget* widget) {
  widget_ = widget;
  face_ = faceFor(*this, widget);
  limitToPicture(*face_, kind_, picture_);
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
void Control::setText(std::string_view text) {
  refusals().erase(this);
  face_->setText(text);
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

namespace {

QColor qtColor(int value) {
  if (value < 0) return QColor();
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int colorValue(const QColor& c) { return c.isValid() ? (c.blue() << 16) | (c.green() << 8) | c.red() : kNoColor; }

constexpr std::pair<CursorKind, Qt::CursorShape> kCursors[] = {
    {CursorKind::Arrow, Qt::ArrowCursor},
    {CursorKind::Hand, Qt::PointingHandCursor},
    {CursorKind::Wait, Qt::WaitCursor},
    {CursorKind::IBeam, Qt::IBeamCursor},
};

}  // namespace

int Control::color() const { return colorValue(face_->color()); }
void Control::setColor(int color) { face_->setColor(qtColor(color)); }
int Control::background() const { return colorValue(face_->background()); }
void Control::setBackground(int color) { face_->setBackground(qtColor(color)); }

bool Control::underline() const { return face_->font().underline(); }
void Control::setUnderline(bool underline) {
  QFont font = face_->font();
  font.setUnderline(underline);
  face_->setFont(font);
}

CursorKind Control::cursor() const {
  const Qt::CursorShape shape = face_->cursor();
  for (const auto& [kind, qt] : kCursors)
    if (qt == shape) return kind;
  return CursorKind::Arrow;
}

void Control::setCursor(CursorKind cursor) {
  for (const auto& [kind, qt] : kCursors)
    if (kind == cursor) face_->setCursor(qt);
}

QRect Control::geometry() const {
  QWidget* body = window_.body();
  if (!widget_ || !body) return {};
  // A control outside the body (none is, today) is counted from the body's corner.
  return QRect(body->isAncestorOf(widget_) ? widget_->mapTo(body, QPoint(0, 0)) : QPoint(), widget_->size());
}

void Control::setGeometry(const QRect& rect) {
  if (!widget_ || rect.width() <= 0 || rect.height() <= 0) return;
  widget_->setFixedSize(rect.size());
  QWidget* parent = widget_->parentWidget();
  if (parent && !parent->layout()) widget_->move(parent->mapFrom(window_.body(), rect.topLeft()));
}

bool Control::contains(const QPoint& point) const {
  return widget_ && widget_->isVisible() && geometry().contains(point);
}

void Control::setRange(int low, int high) {
  low_ = low;
  high_ = std::max(low, high);
  face_->setRange(low_, high_);
}

bool Control::insertAtCursor(std::string_view text) {
  if (readOnly_ || !face_->insertAtCursor(text)) return false;
  touched_ = true;
  return true;
}

bool Control::setPicture(std::string_view text) {
  auto parsed = Picture::parse(text);
  if (!parsed) return false;
  picture_ = std::move(parsed);
  pictureText_ = std::string(text);
  limitToPicture(*face_, kind_, picture_);
  face_->setAlignment(picture_->kind() == Picture::Kind::Number ? Qt::AlignRight : Qt::AlignLeft);
  display();
  return true;
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
  if (auto refused = refusals().find(this); refused != refusals().end()) {
    if (refused->second == binding_.display(picture_)) return;  // nobody changed the variable since
    refusals().erase(refused);
  }
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
  if (accepted) {
    // Once the text fits, the status bar's word on how to type it is old news.
    const bool wasRefused = refusals().erase(this) > 0;
    display();
    if (wasRefused) window_.showHelp(help_);
  } else {
    refusals()[this] = binding_.display(picture_);
  }
  return accepted;
}

}  // namespace vrt
