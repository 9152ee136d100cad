// A window's place and state on the desktop: its room, maximised or minimised, in front.
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSessionManager>
#include <QStyle>

#include "runtime/gui/window.h"

namespace vrt {

QRect Window::screenRect() const { return top_ ? QRect(top_->mapToGlobal(QPoint(0, 0)), top_->size()) : QRect(); }

QRect Window::room() const {
  const QWidget* top = top_;
  if (auto* sub = qobject_cast<const QMdiSubWindow*>(top)) return sub->mdiArea() ? sub->mdiArea()->viewport()->rect() : QRect();
  if (!top) return {};
  const QScreen* screen = top->screen() ? top->screen() : QGuiApplication::primaryScreen();
  if (!screen) return {};
  QRect room = screen->availableGeometry();
  const QRect outer = top->frameGeometry(), inner = top->geometry();
  room.adjust(inner.left() - outer.left(), inner.top() - outer.top(), inner.right() - outer.right(),
              inner.bottom() - outer.bottom());
  return room;
}

bool Window::insideFrame() const { return qobject_cast<const QMdiSubWindow*>(top_.data()) != nullptr; }

QSize Window::leastSize() const { return top_ ? top_->minimumSizeHint() : QSize(); }

int Window::titleBarHeight() const {
  return top_ ? top_->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, top_.data()) : 0;
}

bool Window::isMaximized() const { return top_ && top_->isMaximized(); }
bool Window::isMinimized() const { return top_ && top_->isMinimized(); }
bool Window::isResizable() const { return top_ && top_->minimumSize() != top_->maximumSize(); }

void Window::setMaximized(bool on) {
  if (top_) on ? top_->showMaximized() : top_->showNormal();
}

void Window::setMinimized(bool on) {
  if (!top_) return;
  if (on) top_->showMinimized();
  else if (top_->isMinimized()) top_->showNormal();
}

void Window::setVisible(bool visible) {
  if (top_) top_->setVisible(visible);
}

void Window::repaint() {
  if (top_) top_->repaint();
}

void Window::bringToFront() {
  if (!top_) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(top_.data())) {
    if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
  } else {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) top_->raise();
    top_->activateWindow();
  }
}

void Window::setToolWindow(bool on) {
  if (top_) top_->setWindowFlag(Qt::Tool, on);
}

void Window::onSessionEnding(std::function<bool(bool mayAsk)> callOff) {
  if (!top_) return;
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, top_.data(),
                   [callOff = std::move(callOff)](QSessionManager& session) {
                     if (callOff(session.allowsInteraction())) session.cancel();
                   });
}

}  // namespace vrt
