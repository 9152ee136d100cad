#pragma once
// Tells which of some controls the mouse pointer is over: each watched control reports the
// pointer coming onto it and leaving it, until the watch goes away.
#include <functional>
#include <memory>

namespace vrt {

class Control;

class PointerWatch {
 public:
  // `noted(control, entered)`: the pointer came onto (true) or left (false) the control
  // with that number.
  explicit PointerWatch(std::function<void(int control, bool entered)> noted);
  ~PointerWatch();
  PointerWatch(const PointerWatch&) = delete;
  PointerWatch& operator=(const PointerWatch&) = delete;

  // Controls without a widget of their own (menu items, toolbar actions) are not watched.
  void watch(Control& control);

 private:
  class Filter;
  std::unique_ptr<Filter> filter_;
};

}  // namespace vrt
