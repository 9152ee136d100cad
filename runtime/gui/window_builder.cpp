#include "runtime/gui/window_builder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVariant>
#include <memory>
#include <utility>

#include "runtime/gui/control.h"
#include "runtime/gui/drop_list.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/look.h"
#include "runtime/gui/paged_list.h"
#include "runtime/gui/window.h"
#include "runtime/text/picture_hint.h"

namespace vrt {

namespace {

constexpr const char* kControlProperty = "vrtControl";

QString qs(const std::string& s) { return QString::fromStdString(s); }

bool isContainer(ControlKind kind) {
  return kind == ControlKind::Row || kind == ControlKind::Grid || kind == ControlKind::Region;
}

// The widget of one control, with the events its signals post.
QWidget* makeWidget(Window& window, const ControlSpec& design, Control& control, QWidget* parent);

void connectEntry(Window& window, Control& control, QLineEdit* edit) {
  // Enter accepts the entry first, so the default button sees the new value; a value
  // that does not fit stops there. Qt then also reports the editing as finished, which
  // must not accept the entry a second time.
  auto acceptedByEnter = std::make_shared<bool>(false);
  QObject::connect(edit, &QLineEdit::returnPressed, edit, [&window, &control, acceptedByEnter] {
    *acceptedByEnter = true;
    if ((control.modified() || control.touched()) && !window.acceptControl(control)) return;
    for (const auto& c : window.controls())
      if (c->isDefault() && !c->disabled() && !c->hidden()) window.postFromWidget(kEventAccepted, c->number());
  });
  QObject::connect(edit, &QLineEdit::editingFinished, edit, [&window, &control, acceptedByEnter] {
    if (std::exchange(*acceptedByEnter, false)) return;
    if (control.modified() || control.touched()) window.acceptControl(control);
  });
}

QWidget* makeSheet(Window& window, const ControlSpec& design, Control& control, QWidget* parent) {
  auto* tabs = new QTabWidget(parent);
  // Every tab in sight: the sheet asks for the width of all its tabs rather than hiding
  // some behind scroll arrows or cutting their captions short.
  tabs->setUsesScrollButtons(false);
  tabs->setElideMode(Qt::ElideNone);
  control.attach(tabs);
  for (const ControlSpec& tabSpec : design.children) {
    Control& tabControl = window.addControl(tabSpec);
    auto* page = new QWidget(tabs);
    const int index = tabs->addTab(page, qs(tabSpec.text));
    tabControl.attach(page);
    tabControl.attachTab(&control, index);
    tagControlWidget(page, tabControl.number());
    buildControls(window, tabSpec.children, page);
    applyCommonProperties(tabSpec, tabControl);
  }
  const int number = control.number();
  QObject::connect(tabs, &QTabWidget::currentChanged, tabs,
                   [&window, number] { window.postFromWidget(kEventNewSelection, number); });
  return tabs;
}

QWidget* makeOptionGroup(Window& window, const ControlSpec& design, Control& control, QWidget* parent) {
  auto* box = new QGroupBox(qs(design.text), parent);
  control.attach(box);
  auto* layout = new QVBoxLayout(box);
  for (const ControlSpec& radioSpec : design.children) {
    Control& radioControl = window.addControl(radioSpec);
    auto* button = new QRadioButton(qs(radioSpec.text), box);
    radioControl.attach(button);
    tagControlWidget(button, radioControl.number());
    layout->addWidget(button);
    control.addRadio(&radioControl);
    QObject::connect(button, &QRadioButton::clicked, button, [&window, &control] { window.acceptControl(control); });
  }
  return box;
}

QWidget* makeList(Window& window, const ControlSpec& design, Control& control, QWidget* parent) {
  auto* list = new PagedList(design.columns, design.rows, parent);
  list->setOwnScrolling(design.scrolls);
  const int number = control.number();
  QObject::connect(list, &PagedList::scrollRequested, list,
                   [&window, number](int event) { window.postFromWidget(event, number); });
  QObject::connect(list, &PagedList::thumbDragged, list,
                   [&window, number] { window.postFromWidget(kEventScrollDrag, number); });
  QObject::connect(list, &PagedList::rowDropped, list,
                   [&window, number] { window.postFromWidget(kEventRowDropped, number); });
  QObject::connect(list, &PagedList::highlightMoved, list,
                   [&window, number] { window.postFromWidget(kEventNewSelection, number); });
  QObject::connect(list, &PagedList::mouseKey, list, [&window, &control, number](int key) {
    if (control.alerted(key) || window.alerted(key)) {
      window.postFromWidget(kEventAlertKey, number, key);
    } else if (key == kMouseLeft2) {
      window.postFromWidget(kEventAccepted, number);
    }
  });
  return list;
}

QWidget* makeWidget(Window& window, const ControlSpec& design, Control& control, QWidget* parent) {
  const int number = control.number();
  auto postAccepted = [&window, number] { window.postFromWidget(kEventAccepted, number); };
  switch (design.kind) {
    case ControlKind::Prompt:
      return new QLabel(qs(design.text), parent);
    case ControlKind::Entry: {
      auto* edit = new QLineEdit(parent);
      if (control.picture() && control.picture()->kind() == Picture::Kind::Number)
        edit->setAlignment(Qt::AlignRight);
      if (control.picture() && control.picture()->width() > 0)
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * std::min(control.picture()->width(), 60) + 12);
      connectEntry(window, control, edit);
      // How to type a date or time; a tip the design declares replaces it.
      if (control.picture() && !typingLayout(*control.picture()).empty())
        edit->setToolTip(qs(typingLayout(*control.picture())));
      if (design.immediate)
        QObject::connect(edit, &QLineEdit::textEdited, edit,
                         [&window, number] { window.postFromWidget(kEventNewSelection, number); });
      return edit;
    }
    case ControlKind::TextBox: {
      auto* text = new QPlainTextEdit(parent);
      text->setTabChangesFocus(true);  // Ctrl+Tab types a tab (keyboard.h)
      text->setMinimumHeight(text->fontMetrics().lineSpacing() * std::max(1, design.rows) + 8);
      return text;
    }
    case ControlKind::Button: {
      auto* b = new QPushButton(qs(design.text), parent);
      b->setAutoDefault(false);
      QObject::connect(b, &QPushButton::clicked, b, postAccepted);
      return b;
    }
    case ControlKind::Check: {
      auto* c = new QCheckBox(qs(design.text), parent);
      QObject::connect(c, &QCheckBox::clicked, c, [&window, &control] { window.acceptControl(control); });
      return c;
    }
    case ControlKind::DropList:
    case ControlKind::Combo: {
      const bool dropList = design.kind == ControlKind::DropList;
      QComboBox* c = dropList ? new DropListBox([&window, &control] { window.acceptControl(control); }, parent)
                              : new QComboBox(parent);
      c->setEditable(!dropList);
      for (const std::string& item : design.items) c->addItem(qs(item));
      c->setCurrentIndex(-1);
      if (design.rows > 0) c->setMaxVisibleItems(design.rows);
      QObject::connect(c, &QComboBox::currentIndexChanged, c,
                       [&window, number] { window.postFromWidget(kEventNewSelection, number); });
      if (!dropList)
        QObject::connect(c, &QComboBox::activated, c, [&window, &control] { window.acceptControl(control); });
      if (c->lineEdit()) connectEntry(window, control, c->lineEdit());
      return c;
    }
    case ControlKind::Spin: {
      auto* s = new QSpinBox(parent);
      s->setRange(design.low, design.high);
      s->setSingleStep(std::max(1, design.step));
      QObject::connect(s, &QSpinBox::valueChanged, s,
                       [&window, number] { window.postFromWidget(kEventNewSelection, number); });
      QObject::connect(s, &QSpinBox::editingFinished, s, [&window, &control] { window.acceptControl(control); });
      return s;
    }
    case ControlKind::List:
      return makeList(window, design, control, parent);
    case ControlKind::Sheet:
      return makeSheet(window, design, control, parent);
    case ControlKind::OptionGroup:
      return makeOptionGroup(window, design, control, parent);
    case ControlKind::Image: {
      auto* l = new QLabel(parent);
      l->setPixmap(iconFor(design.iconName).pixmap(32, 32));
      return l;
    }
    case ControlKind::Progress: {
      auto* p = new QProgressBar(parent);
      p->setRange(design.low, design.high);
      p->setValue(design.low);
      return p;
    }
    case ControlKind::Region: {
      QWidget* box = design.text.empty() ? new QWidget(parent) : new QGroupBox(qs(design.text), parent);
      control.attach(box);
      buildControls(window, design.children, box);
      return box;
    }
    default:
      return new QWidget(parent);
  }
}

}  // namespace

namespace {

// Every property a design may declare, and how it reaches the control: one row each.
struct DesignProperty {
  bool (*declared)(const ControlSpec&);
  void (*apply)(const ControlSpec&, Control&);
};

constexpr DesignProperty kDesignProperties[] = {
    {[](const ControlSpec& d) { return !d.tipText.empty(); }, [](const ControlSpec& d, Control& c) { c.setTip(d.tipText); }},
    {[](const ControlSpec& d) { return !d.iconName.empty(); }, [](const ControlSpec& d, Control& c) { c.setIcon(d.iconName); }},
    {[](const ControlSpec& d) { return !d.fontName.empty() || d.fontSize > 0; },
     [](const ControlSpec& d, Control& c) { c.setFont(d.fontName, d.fontSize); }},
    {[](const ControlSpec& d) { return d.disabled; }, [](const ControlSpec&, Control& c) { c.setDisabled(true); }},
    {[](const ControlSpec& d) { return d.hidden; }, [](const ControlSpec&, Control& c) { c.setHidden(true); }},
    {[](const ControlSpec& d) { return d.readOnly; }, [](const ControlSpec&, Control& c) { c.setReadOnly(true); }},
    {[](const ControlSpec& d) { return d.isDefault; }, [](const ControlSpec&, Control& c) { c.setDefault(true); }},
    {[](const ControlSpec& d) { return d.textColor != kNoColor; }, [](const ControlSpec& d, Control& c) { c.setColor(d.textColor); }},
    {[](const ControlSpec& d) { return d.backColor != kNoColor; },
     [](const ControlSpec& d, Control& c) { c.setBackground(d.backColor); }},
    {[](const ControlSpec& d) { return d.underline; }, [](const ControlSpec&, Control& c) { c.setUnderline(true); }},
    {[](const ControlSpec& d) { return d.cursorKind != CursorKind::Arrow; },
     [](const ControlSpec& d, Control& c) { c.setCursor(d.cursorKind); }},
};

}  // namespace

void applyCommonProperties(const ControlSpec& design, Control& control) {
  for (const DesignProperty& p : kDesignProperties)
    if (p.declared(design)) p.apply(design, control);
}

namespace {

// Places one design (and, for rows and grids, its children) into `layout`.
QWidget* place(Window& window, const ControlSpec& design, QWidget* parent) {
  if (design.kind == ControlKind::Row || design.kind == ControlKind::Grid) {
    auto* holder = new QWidget(parent);
    if (design.kind == ControlKind::Row) {
      auto* layout = new QHBoxLayout(holder);
      layout->setContentsMargins(0, 0, 0, 0);
      for (const ControlSpec& child : design.children) layout->addWidget(place(window, child, holder));
      layout->addStretch();
    } else {
      auto* layout = new QGridLayout(holder);
      layout->setContentsMargins(0, 0, 0, 0);
      const int columns = std::max(1, design.columnsInGrid);
      for (int i = 0; i < static_cast<int>(design.children.size()); ++i)
        layout->addWidget(place(window, design.children[i], holder), i / columns, i % columns);
    }
    return holder;
  }
  Control& control = window.addControl(design);
  QWidget* widget = makeWidget(window, design, control, parent);
  if (!control.widget()) control.attach(widget);
  tagControlWidget(widget, control.number());
  applyCommonProperties(design, control);
  return widget;
}

}  // namespace

QWidget* buildControl(Window& window, const ControlSpec& design, QWidget* parent) { return place(window, design, parent); }

void tagControlWidget(QWidget* widget, int number) { widget->setProperty(kControlProperty, number); }

int controlNumberOf(const QObject* object) {
  for (; object; object = object->parent()) {
    const QVariant v = object->property(kControlProperty);
    if (v.isValid()) return v.toInt();
    if (object->isWidgetType() && static_cast<const QWidget*>(object)->isWindow()) break;
  }
  return 0;
}

void buildControls(Window& window, const std::vector<ControlSpec>& controls, QWidget* parent) {
  auto* layout = new QGridLayout(parent);
  int row = 0;
  for (std::size_t i = 0; i < controls.size(); ++i, ++row) {
    const ControlSpec& design = controls[i];
    QWidget* widget = place(window, design, parent);
    const bool pairsWithNext = design.kind == ControlKind::Prompt && i + 1 < controls.size() &&
                               controls[i + 1].kind != ControlKind::Prompt && !isContainer(controls[i + 1].kind) &&
                               controls[i + 1].kind != ControlKind::Sheet &&
                               controls[i + 1].kind != ControlKind::List;  // a list's title stands above it
    if (pairsWithNext) {
      layout->addWidget(widget, row, 0);
      layout->addWidget(place(window, controls[++i], parent), row, 1);
    } else {
      layout->addWidget(widget, row, 0, 1, 2);
    }
  }
  layout->setRowStretch(row, 1);
  layout->setColumnStretch(1, 1);
}

void connectAction(Window& window, Control& control, QAction* action) {
  control.attach(action);
  const int number = control.number();
  const StdAction builtIn = control.stdAction();
  QObject::connect(action, &QAction::triggered, action, [&window, number, builtIn] {
    if (builtIn == StdAction::None) {
      window.postFromWidget(kEventAccepted, number);
    } else if (builtIn == StdAction::CloseWindow) {
      window.postFromWidget(kEventCloseWindow, 0);
    } else {
      FrameHost::runStdAction(builtIn);
    }
  });
}

}  // namespace vrt
