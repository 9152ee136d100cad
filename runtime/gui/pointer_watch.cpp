#include "runtime/gui/pointer_watch.h"

#include <QEvent>
#include <QObject>
#include <QVariant>

#include "runtime/gui/control.h"

namespace vrt {

namespace {

constexpr const char* kNumberProperty = "vrtPointerWatchControl";

}  // namespace

class PointerWatch::Filter : public QObject {
 public:
  explicit Filter(std::function<void(int, bool)> noted) : noted_(std::move(noted)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave)
      noted_(watched->property(kNumberProperty).toInt(), event->type() == QEvent::Enter);
    return false;
  }

 private:
  std::function<void(int, bool)> noted_;
};

PointerWatch::PointerWatch(std::function<void(int control, bool entered)> noted)
    : filter_(std::make_unique<Filter>(std::move(noted))) {}

PointerWatch::~PointerWatch() = default;

void PointerWatch::watch(Control& control) {
  if (QWidget* widget = control.widget()) {
    widget->setProperty(kNumberProperty, control.number());
    widget->installEventFilter(filter_.get());
  }
}

}  // namespace vrt
