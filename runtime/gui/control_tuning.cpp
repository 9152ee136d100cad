// What the layers above tune on a control beyond its properties: its place counted from the
// window or the screen, its widths and font, its spoken name, text limits and caret, and the
// few kinds' own switches (a combo's completion, a sheet's tabs, an image's picture).
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTextCursor>
#include <algorithm>

#include "runtime/gui/beep.h"
#include "runtime/gui/control.h"
#include "runtime/gui/window.h"

namespace vrt {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QRect Control::placeInWindow() const {
  QWidget* top = window_.widget();
  if (!widget_ || !top) return {};
  return QRect(widget_->mapTo(top, QPoint(0, 0)), widget_->size());
}

QRect Control::screenRect() const {
  return widget_ ? QRect(widget_->mapToGlobal(QPoint(0, 0)), widget_->size()) : QRect();
}

bool Control::shown() const { return widget_ && !hidden() && widget_->isVisibleTo(window_.widget()); }

int Control::charWidth() const { return widget_ ? widget_->fontMetrics().averageCharWidth() : 0; }

int Control::minimumWidth() const { return widget_ ? widget_->minimumWidth() : 0; }

void Control::setWidthRange(int least, int most) {
  if (!widget_) return;
  widget_->setMinimumWidth(least);
  widget_->setMaximumWidth(most > 0 ? most : QWIDGETSIZE_MAX);
}

void Control::setFixedWidth(int width) {
  if (widget_) widget_->setFixedWidth(width);
}

void Control::relayout() {
  for (QWidget* w = widget_; w && w != window_.widget(); w = w->parentWidget()) w->updateGeometry();
}

void Control::changeFont(std::string_view family, int pointSize) {
  if (!widget_) return;
  QFont font = widget_->font();
  if (!family.empty()) {
    const QString name = qs(family);
    font.setFamily(QFontDatabase::hasFamily(name) ? name : QApplication::font().family());
  }
  if (pointSize > 0) font.setPointSize(pointSize);
  widget_->setFont(font);
}

void Control::setAccessibleName(std::string_view name) {
  if (widget_) widget_->setAccessibleName(qs(name));
  if (action_)
    for (QObject* o : action_->associatedObjects())
      if (auto* w = qobject_cast<QWidget*>(o)) w->setAccessibleName(qs(name));
}

void Control::setBuddy(Control& control) {
  if (auto* label = qobject_cast<QLabel*>(widget_.data())) label->setBuddy(control.widget());
}

int Control::caret() const {
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_.data())) return edit->textCursor().position();
  if (auto* line = qobject_cast<QLineEdit*>(widget_.data())) return line->cursorPosition();
  return 0;
}

void Control::setCaret(int position) {
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_.data())) {
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(std::clamp(position, 0, static_cast<int>(edit->toPlainText().size())));
    edit->setTextCursor(cursor);
  } else if (auto* line = qobject_cast<QLineEdit*>(widget_.data())) {
    line->setCursorPosition(std::clamp(position, 0, static_cast<int>(line->text().size())));
  }
}

void Control::limitBytes(std::size_t bytes) {
  auto* edit = qobject_cast<QPlainTextEdit*>(widget_.data());
  if (!edit) return;
  const auto limit = static_cast<qsizetype>(bytes);
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, limit, kept = QString()]() mutable {
    const QString now = edit->toPlainText();
    if (now.toUtf8().size() <= limit) {
      kept = now;
      return;
    }
    const qsizetype cursor = edit->textCursor().position() - (now.size() - kept.size());
    const QSignalBlocker quiet(edit);
    edit->setPlainText(kept);
    QTextCursor at = edit->textCursor();
    at.setPosition(static_cast<int>(std::clamp<qsizetype>(cursor, 0, kept.size())));
    edit->setTextCursor(at);
    Beep();
  });
}

void Control::setLeastCharacters(int characters) {
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
    combo->setMinimumContentsLength(characters);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  }
}

void Control::setCompletes(bool completes) {
  auto* combo = qobject_cast<QComboBox*>(widget_.data());
  if (!combo || completes) return;
  combo->setCompleter(nullptr);
}

void Control::setTabsShown(bool shown) {
  if (auto* tabs = qobject_cast<QTabWidget*>(widget_.data())) tabs->tabBar()->setVisible(shown);
}

void Control::showImageFile(std::string_view file, int width, int height) {
  if (auto* label = qobject_cast<QLabel*>(widget_.data()))
    label->setPixmap(QPixmap(qs(file)).scaled(width, height, Qt::KeepAspectRatio));
}

void Control::fill(QWidget* content) {
  QWidget* region = widget_;
  if (!region || !content) return;
  if (!region->layout()) new QGridLayout(region);
  region->layout()->setContentsMargins(0, 0, 0, 0);
  if (auto* own = qobject_cast<QGridLayout*>(region->layout())) own->addWidget(content, 0, 0, 1, 2);
  else region->layout()->addWidget(content);
  region->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  if (auto* grid = region->parentWidget() ? qobject_cast<QGridLayout*>(region->parentWidget()->layout()) : nullptr) {
    grid->setContentsMargins(0, 0, 0, 0);
    for (int r = 0; r < grid->rowCount(); ++r) grid->setRowStretch(r, r == 0 ? 1 : 0);
    grid->setColumnStretch(0, 1);
  }
}

}  // namespace vrt
