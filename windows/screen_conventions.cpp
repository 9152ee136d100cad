#include "windows/screen_conventions.h"

#include <algorithm>

#include "runtime/gui/calendar.h"
#include "runtime/gui/control.h"
#include "runtime/gui/keyboard.h"
#include "runtime/text/utf8.h"
#include "windows/thread_globals.h"
#include "windows/window_controller.h"
#include "windows/window_placement.h"
#include "windows/window_room.h"

namespace vesp {

void CentreInFrame(vrt::Window& window) {
  const FrameGeometry& frame = frameGeometry();
  if (frame.AppFrameWidth <= 0 || frame.AppFrameHeight <= 0) return;
  QRect r = window.position();
  // A window larger than the frame starts at its corner rather than with its caption and
  // left edge out of reach.
  int x = std::max(0, (frame.AppFrameWidth - r.width()) / 2 - 2);
  int y = std::max(0, (frame.AppFrameHeight - r.height()) / 2 - 15);
  if (window.kind() != vrt::WindowKind::Child) {
    x += frame.AppFrameX;
    y += frame.AppFrameY;
  }
  r.moveTo(x, y);
  window.setPosition(r);
}

void PlaceScreenWindow(std::string_view procedure, vrt::Window& window, bool remember, bool overOwner) {
  FitInRoom(window);
  if (overOwner) CentreOverOwner(window);
  else CentreInFrame(window);
  RestoreScreenPlacement(procedure, window, remember);
  FitInRoom(window);
  OffsetFromCopies(window);
}

void RestoreScreenPlacement(std::string_view procedure, vrt::Window& window, bool remember) {
  if (remember) RestoreWindowPlacement(std::string(procedure).c_str(), window);
}

void SaveScreenPlacement(std::string_view procedure, vrt::Window& window, bool remember) {
  if (remember) SaveWindowPlacement(std::string(procedure).c_str(), window);
}

FormCaptions FormCaptions::FromWords(std::string_view words) {
  FormCaptions c;
  c.insert = "Adding a " + std::string(words) + " Record";
  c.change = "Changing a " + std::string(words) + " Record";
  return c;
}

std::string CaptionFor(const FormCaptions& captions, Request request, const std::string& designed) {
  switch (request) {
    case Request::View: return captions.view;
    case Request::Insert: return captions.insert.empty() ? designed : captions.insert;
    case Request::Change: return captions.change.empty() ? designed : captions.change;
    default: return designed;
  }
}

bool PickDateInto(vrt::Window& window, vrt::Control& control, const vrt::Control* opener) {
  // The value as typed so far, without accepting the field: text that does not fit would
  // be refused behind the calendar, and a look-up field would look up.
  control.update();
  vrt::CalendarSettings& settings = vrt::calendarSettings();
  if (const QRect field = control.placeInWindow(); control.hasOwnWidget() && window.hasWidgets()) {
    const QRect where = window.position();
    settings.x = field.x() + where.x() + field.width();
    settings.y = field.y() + where.y() + field.height() + 14;
  }
  const std::string& picture = control.pictureText();
  settings.returnType =
      picture.size() > 1 && vrt::upperCaseChar(static_cast<unsigned char>(picture[1])) == 'D' ? 1 : 0;
  if (settings.positionFlag == 0) settings.positionFlag = 1;
  if (settings.returnType == 1) settings.datePicture = picture;
  const std::string chosen = vrt::GCAL(settings.path, kScreenCalendarTitle, control.text(), 3, settings.colourScheme);
  if (!chosen.empty()) {
    control.setText(std::string(vrt::clip(chosen)));
    control.setTouched(true);
    window.acceptControl(control);
  }
  vrt::focusAfter(window, opener ? *opener : control);
  return !chosen.empty();
}

}  // namespace vesp
