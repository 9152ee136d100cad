#include "runtime/gui/window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <map>

#include "runtime/gui/frame_host.h"
#include "runtime/gui/keys.h"
#include "runtime/gui/look.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/keyboard.h"
#include "runtime/gui/window_builder.h"
#include "runtime/gui/window_chrome.h"
#include "runtime/help/help_window.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

constexpr const char* kWindowProperty = "vrtWindow";

struct Registry {
  std::map<int, Window*> windows;  // ids grow, so this is also the order of creation
  int nextId = 1;
  std::vector<int> openOrder;
  QPointer<QWidget> parkedFrame;  // a closed frame kept while other windows live inside it
};

Registry& registry() {
  static Registry r;
  return r;
}

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Turns input on the system's windows into events: alerted keys, close requests,
// activation and focus. Installed once on the application.
class InputFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        return onKey(watched, static_cast<QKeyEvent*>(event));
      case QEvent::Close:
        return onClose(watched, event);
      case QEvent::WindowActivate:
        onActivate(watched);
        return false;
      case QEvent::FocusIn:
        onFocus(watched, kEventSelected);
        showHelpOf(watched);
        return false;
      case QEvent::Enter:
        showHelpOf(watched);
        return false;
      case QEvent::FocusOut:
        onFocusOut(watched);
        return false;
      default:
        return false;
    }
  }

 private:
  static bool onKey(QObject* watched, QKeyEvent* key) {
    Window* window = Window::owning(watched);
    if (!window || !window->takesInput()) return false;
    const int number = controlNumberOf(watched);
    Control* control = number ? window->control(number) : nullptr;
    const char32_t typed = typedCharacter(*key);
    int code = keyCodeFromQt(key->key(), key->modifiers());
    if (typed && ((control && control->alertsCharacters()) || window->alertsCharacters())) {
      if (code == 0) code = kCharacterKey;
    } else if (code == 0 || (!(control && control->alerted(code)) && !window->alerted(code))) {
      if (code == kF1Key) {
        ShowHelpForWindow(window->procedure());
        return true;
      }
      return code != 0 && (pressWindowButtonFor(*window, code, watched) || takeTabKey(*window, code, watched));
    }
    PostEvent(Event{kEventAlertKey, number, window->id(), code, static_cast<int>(typed)}, window->thread());
    return true;
  }

  static bool onClose(QObject* watched, QEvent* event) {
    Window* window = Window::owning(watched);
    if (!window || window->widget() != watched) return false;
    event->ignore();  // the procedure decides whether its window closes
    window->postFromWidget(kEventCloseWindow, 0);
    return true;
  }

  static void onActivate(QObject* watched) {
    Window* window = Window::owning(watched);
    if (!window || window->widget() != watched) return;
    FrameHost::noteActivated(*window);
    window->postFromWidget(kEventGainFocus, 0);
  }

  static void onFocus(QObject* watched, int event) {
    Window* window = Window::owning(watched);
    if (!window) return;
    if (int number = controlNumberOf(watched)) window->postFromWidget(event, number);
  }

  static void showHelpOf(QObject* watched) {
    Window* window = Window::owning(watched);
    Control* control = window ? window->control(controlNumberOf(watched)) : nullptr;
    if (control && !control->help().empty() && window->takesInput()) window->showHelp(control->help());
  }

  // Text boxes have no "editing finished": leaving one accepts it.
  static void onFocusOut(QObject* watched) {
    if (!qobject_cast<QPlainTextEdit*>(watched)) return;
    Window* window = Window::owning(watched);
    Control* control = window ? window->control(controlNumberOf(watched)) : nullptr;
    if (control && (control->modified() || control->touched())) window->acceptControl(*control);
  }
};

// Installed again whenever a window opens: the filter installed last sees input first, and
// the frame's MDI area installs one of its own for Ctrl+Tab when it shows. The window's own
// use of a key (its sheet's tabs) comes before the area's.
void installInputFilter() {
  static QPointer<InputFilter> filter;
  if (!QCoreApplication::instance()) return;
  if (!filter) {
    filter = new InputFilter;
    filter->setParent(QCoreApplication::instance());
  } else {
    QCoreApplication::instance()->removeEventFilter(filter);
  }
  QCoreApplication::instance()->installEventFilter(filter);
}

void collectNumbers(const std::vector<ControlSpec>& specs, std::vector<int>& numbers) {
  for (const ControlSpec& c : specs) {
    if (c.number) numbers.push_back(c.number);
    collectNumbers(c.children, numbers);
  }
}

}  // namespace

Window::Window(WindowSpec design) : spec_(std::move(design)), id_(registry().nextId++), thread_(ThreadNumber()) {
  installInputFilter();
  alerted_ = spec_.alertKeys;
  registry().windows[id_] = this;
  build();
}

Window::~Window() {
  close();
  Registry& r = registry();
  r.windows.erase(id_);
  FrameHost::forget(*this);
  delete timer_;
  if (spec_.kind == WindowKind::Frame && top_ && !r.windows.empty()) {
    r.parkedFrame = top_;  // other threads' windows still live inside it
  } else {
    delete top_;
  }
  if (r.windows.empty()) delete r.parkedFrame;
}

void Window::build() {
  collectNumbers(spec_.controls, reservedNumbers_);
  collectNumbers(spec_.menus, reservedNumbers_);
  collectNumbers(spec_.toolbar, reservedNumbers_);
  QWidget* frameWidget = FrameHost::frame() ? FrameHost::frame()->widget() : nullptr;
  if (spec_.kind == WindowKind::Frame) {
    QWidget* area = nullptr;
    top_ = FrameHost::build(*this, spec_, area);
    chrome_ = qobject_cast<QMainWindow*>(top_.data());
    body_ = area;
  } else {
    body_ = new QWidget;
    buildControls(*this, spec_.controls, body_);
    QWidget* outer = body_;
    if (wantsChrome(spec_)) outer = chrome_ = buildChrome(*this, spec_, body_);
    QMdiArea* area = FrameHost::frame() ? FrameHost::mdiArea() : nullptr;
    if (spec_.kind == WindowKind::Child && area) {
      QMdiSubWindow* sub = area->addSubWindow(outer);
      sub->hide();
      top_ = sub;
    } else {
      if (frameWidget) outer->setParent(frameWidget, Qt::Window);
      top_ = outer;
    }
    if (chrome_) chrome_->setProperty(kWindowProperty, id_);
  }
  nameControlsAndOrderTabs(*this);
  top_->setProperty(kWindowProperty, id_);
  body_->setProperty(kWindowProperty, id_);
  setCaption(spec_.caption);
  if (!spec_.iconName.empty()) top_->setWindowIcon(iconFor(spec_.iconName));
  if (!spec_.fontName.empty() || spec_.fontSize > 0) top_->setFont(fontFor(spec_.fontName, spec_.fontSize));
  if (spec_.width > 0 && spec_.height > 0) {
    top_->resize(spec_.width, spec_.height);
  } else {
    top_->adjustSize();
  }
}

int Window::nextNumber() {
  do {
    ++lastNumber_;
  } while (std::find(reservedNumbers_.begin(), reservedNumbers_.end(), lastNumber_) != reservedNumbers_.end());
  return lastNumber_;
}

Control& Window::addControl(const ControlSpec& design) {
  controls_.push_back(std::make_unique<Control>(*this, design, design.number ? design.number : nextNumber()));
  return *controls_.back();
}

void Window::open() {
  if (open_ || !top_) return;
  if (Window* previous = find(NewestThreadWindow(thread_)); previous && previous != this)
    previous->setInputEnabled(false);
  PushThreadWindow(thread_, id_);
  registry().openOrder.push_back(id_);
  open_ = true;
  everOpened_ = true;
  display();
  top_->show();
  if (auto* sub = qobject_cast<QMdiSubWindow*>(top_.data())) {
    if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
  } else {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) top_->raise();  // it has no stacking
    top_->activateWindow();
  }
  FrameHost::noteActivated(*this);
  installInputFilter();
  post(kEventOpenWindow);
}

void Window::close() {
  if (!open_) return;
  open_ = false;
  if (timer_) timer_->stop();
  if (top_) top_->hide();
  PopThreadWindow(thread_, id_);
  DiscardWindowEvents(id_);
  auto& order = registry().openOrder;
  order.erase(std::remove(order.begin(), order.end(), id_), order.end());
  if (Window* previous = find(NewestThreadWindow(thread_))) {
    previous->setInputEnabled(true);
    if (previous->top_) previous->top_->activateWindow();
  }
}

std::string Window::caption() const { return top_ ? top_->windowTitle().toStdString() : spec_.caption; }

void Window::setCaption(std::string_view caption) {
  spec_.caption = std::string(caption);  // `caption` may be a view of the old one
  if (top_) top_->setWindowTitle(qs(spec_.caption));
  if (body_ && body_ != top_) body_->setWindowTitle(qs(spec_.caption));
}

Control* Window::control(std::string_view use) const {
  if (use.empty()) return nullptr;
  for (const auto& c : controls_)
    if (equalTextNoCase(c->use(), use)) return c.get();
  return nullptr;
}

Control* Window::control(int number) const {
  if (number == 0) return nullptr;
  for (const auto& c : controls_)
    if (c->number() == number) return c.get();
  return nullptr;
}

int Window::number(std::string_view use) const {
  Control* c = control(use);
  return c ? c->number() : 0;
}

Event Window::accept() {
  current_ = TakeEvent(id_);
  if (current_.event == kEventAlertKey) keyCode_ = current_.key;
  return current_;
}

void Window::post(int event, int control) { PostEvent(Event{event, control, id_, 0, 0}, thread_); }

void Window::postFromWidget(int event, int control, int key) {
  if (!open_) return;
  PostEvent(Event{event, control, id_, key, 0}, thread_);
}

bool Window::alerted(int key) const { return std::find(alerted_.begin(), alerted_.end(), key) != alerted_.end(); }

void Window::display() {
  for (const auto& c : controls_) c->display();
}

int Window::updateAll() {
  int firstRejected = 0;
  for (const auto& c : controls_) {
    if (!c->binding().bound() || c->update()) continue;
    post(kEventRejected, c->number());
    if (!firstRejected) firstRejected = c->number();
  }
  return firstRejected;
}

bool Window::acceptControl(Control& control) {
  if (!open_) return false;
  const bool accepted = control.update();
  post(accepted ? kEventAccepted : kEventRejected, control.number());
  return accepted;
}

int Window::focusedControl() const {
  QWidget* focus = QApplication::focusWidget();
  return focus && owning(focus) == this ? controlNumberOf(focus) : 0;
}

void Window::select(int number) {
  Control* c = control(number);
  if (!c) return;
  if (c->kind() == ControlKind::Tab && c->sheet()) {
    c->sheet()->setSelected(c->tabIndex() + 1);
    return;
  }
  if (c->widget()) c->widget()->setFocus(Qt::OtherFocusReason);
}

QRect Window::position() const { return top_ ? top_->geometry() : QRect(); }

void Window::setPosition(const QRect& rect) {
  if (!top_) return;
  // position() is the area inside the window's frame, while move() places the frame.
  const QPoint frameOffset = top_->geometry().topLeft() - top_->pos();
  top_->move(rect.topLeft() - frameOffset);
  if (rect.width() > 0 && rect.height() > 0) top_->resize(rect.size());
}

void Window::setTimer(int hundredths) {
  if (hundredths <= 0) {
    if (timer_) timer_->stop();
    return;
  }
  if (!timer_) {
    timer_ = new QTimer;
    // One tick waiting is enough: a window behind a look-up must not be flooded when it
    // takes events again.
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] {
      if (open_) PostEventOnce(Event{kEventTimer, 0, id_, 0, 0}, thread_);
    });
  }
  timer_->start(hundredths * 10);
}

QTimer* Window::timer() const { return timer_; }
int Window::timerInterval() const { return timer_ && timer_->isActive() ? timer_->interval() / 10 : 0; }

void Window::setStatusText(int zone, std::string_view text) { setStatusZoneText(chrome_, zone, text); }

std::string Window::statusText(int zone) const { return statusZoneText(chrome_, zone); }

void Window::showHelp(std::string_view text) {
  if (chrome_) {
    setStatusText(1, text);
  } else if (Window* frame = FrameHost::frame(); frame && frame != this) {
    frame->setStatusText(1, text);
  }
}

bool Window::takesInput() const {
  if (!open_) return false;
  return thread_ == 0 || !ThreadAlive(thread_) || NewestThreadWindow(thread_) == id_;
}

void Window::setInputEnabled(bool enabled) {
  if (!top_) return;
  if (auto* main = qobject_cast<QMainWindow*>(top_.data()); main && spec_.kind == WindowKind::Frame) {
    // Only the frame's own controls: the browses inside it belong to other threads.
    main->menuBar()->setEnabled(enabled);
    for (QToolBar* bar : main->findChildren<QToolBar*>()) bar->setEnabled(enabled);
  } else {
    top_->setEnabled(enabled);
  }
}

std::vector<Window*> Window::openWindows() {
  std::vector<Window*> result;
  for (int id : registry().openOrder)
    if (Window* w = find(id)) result.push_back(w);
  return result;
}

Window* Window::find(int id) {
  auto& windows = registry().windows;
  auto it = windows.find(id);
  return it == windows.end() ? nullptr : it->second;
}

Window* Window::owning(const QObject* object) {
  for (; object; object = object->parent()) {
    const QVariant v = object->property(kWindowProperty);
    if (v.isValid()) return find(v.toInt());
  }
  return nullptr;
}

}  // namespace vrt
