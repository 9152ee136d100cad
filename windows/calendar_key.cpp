#include "windows/calendar_key.h"

#include "runtime/gui/calendar.h"
#include "runtime/gui/control.h"
#include "runtime/gui/keyboard.h"
#include "runtime/text/utf8.h"

namespace vesp {

namespace {

// Beside the field's right edge, a caption's height below its bottom: the field's place
// in its window plus the window's place on the screen.
QPoint popupPosition(vrt::Window& window, vrt::Control& control) {
  if (!control.hasOwnWidget() || !window.hasWidgets()) return {};
  const QPoint windowAt = window.screenRect().topLeft();
  const QRect field = control.geometry();
  return {field.x() + windowAt.x() + field.width(), field.y() + windowAt.y() + field.height() + 14};
}

}  // namespace

bool CalendarOnFocusedControl(vrt::Window& window) {
  vrt::Control* control = window.control(window.focusedControl());
  if (!control) return false;
  // The value as typed so far, without accepting the field: accepting would run its
  // checks (a look-up field's look-up) before the user has picked anything.
  control->update();
  vrt::CalendarSettings& settings = vrt::calendarSettings();
  const QPoint at = popupPosition(window, *control);
  settings.x = at.x();
  settings.y = at.y();
  const std::string& picture = control->pictureText();
  // A date picture gets a date back; any other a day number.
  settings.returnType = picture.size() > 1 && vrt::upperCaseChar(static_cast<unsigned char>(picture[1])) == 'D' ? 1 : 0;
  if (settings.positionFlag == 0) settings.positionFlag = 1;
  if (settings.returnType == 1) settings.datePicture = picture;
  const std::string chosen =
      vrt::GCAL(settings.path, kCalendarCaption, control->text(), settings.calendarType, settings.colourScheme);
  if (!chosen.empty()) {
    control->setText(std::string(vrt::clip(chosen)));
    control->setTouched(true);  // marked as changed: the variable takes the new value
    window.acceptControl(*control);
  }
  vrt::focusAfter(window, *control);
  return !chosen.empty();
}

}  // namespace vesp
