#pragma once
// The Qt side of a control. Each kind of thing a control can stand on (a QAction, one
// tab of a sheet, a line edit, a label, a button, ...) is one Face class that says, in
// one place, how it reads and writes every property. A property that a face does not
// override falls back to the plain-widget behaviour or does nothing.
//
// Adding a property: a virtual here with its plain default, overrides in the faces that
// differ, a forwarder in Control, and (when designs may set it) one row of the builder's
// property table.
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QTabWidget;
class QWidget;

namespace vrt {

class Control;

class Face {
 public:
  virtual ~Face() = default;

  virtual std::string text() const { return {}; }
  virtual void setText(std::string_view) {}
  virtual bool disabled() const;
  virtual void setDisabled(bool disabled);
  virtual bool hidden() const;
  virtual void setHidden(bool hidden);
  virtual std::string tip() const;
  virtual void setTip(std::string_view tip);
  virtual void setIcon(const QIcon&) {}
  virtual QFont font() const;
  virtual void setFont(const QFont& font);
  virtual void setReadOnly(bool) {}
  virtual bool isDefault() const { return false; }
  virtual void setDefault(bool) {}
  virtual int selected() const { return 0; }
  virtual void setSelected(int) {}
  virtual int visibleItems() const { return 0; }
  virtual void setVisibleItems(int) {}
  virtual void setItems(const std::vector<std::string>&) {}
  virtual bool modified() const { return false; }
  virtual void markClean() {}
  // The colour of its text; an invalid colour restores the look's own.
  virtual QColor color() const;
  virtual void setColor(const QColor& color);
  virtual QColor background() const;
  virtual void setBackground(const QColor& color);
  virtual Qt::CursorShape cursor() const;
  virtual void setCursor(Qt::CursorShape shape);
  virtual void setRange(int, int) {}
  virtual void setAlignment(Qt::Alignment) {}
  // The most characters the user can type; 0 for no limit of ours.
  virtual void setMaxLength(int) {}
  // Text inserted where the caret stands (replacing a selection); false where there is none.
  virtual bool insertAtCursor(std::string_view) { return false; }

 protected:
  explicit Face(QWidget* widget) : widget_(widget) {}
  QWidget* widget() const { return widget_; }

 private:
  QPointer<QWidget> widget_;
};

// The face of `control` standing on `widget` (its Qt type decides), on a menu item or
// toolbar button, or on tab `index` of the sheet `tabs`.
std::unique_ptr<Face> faceFor(Control& control, QWidget* widget);
std::unique_ptr<Face> faceFor(QAction* action);
std::unique_ptr<Face> faceForTab(QTabWidget* tabs, QWidget* page, int index);

}  // namespace vrt
