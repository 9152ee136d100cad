#include "windows/calendar_key.h"

#include "runtime/gui/calendar.h"
#include "runtime/gui/control.h"
#include "runtime/text/utf8.h"

namespace vesp {

bool CalendarOnFocusedControl(vrt::Window& window) {
  vrt::Control* control = window.control(window.focusedControl());
  if (!control) return false;
  window.acceptControl(*control);  // its value as typed so far
  vrt::CalendarSettings& settings = vrt::calendarSettings();
  const std::string& picture = control->pictureText();
  // A date picture gets a date back; any other a day number.
  settings.returnType = picture.size() > 1 && vrt::upperCaseChar(static_cast<unsigned char>(picture[1])) == 'D' ? 1 : 0;
  if (settings.positionFlag == 0) settings.positionFlag = 1;
  if (settings.returnType == 1) settings.datePicture = picture;
  const std::string chosen =
      vrt::GCAL(settings.path, kCalendarCaption, control->text(), settings.calendarType, settings.colourScheme);
  if (chosen.empty()) return false;
  control->setText(std::string(vrt::clip(chosen)));
  control->setTouched(true);  // marked as changed: the variable takes the new value
  window.acceptControl(*control);
  return true;
}

}  // namespace vesp
