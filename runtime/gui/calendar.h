#pragma once
// The calendar pop-up: a month calendar window of the calling thread. The caller waits
// for the chosen date by taking events, as with a message box.
#include <string>
#include <string_view>

#include "runtime/text/dates.h"

namespace vrt {

// The pop-up's settings, kept for the whole process as plain values.
struct CalendarSettings {
  std::string colourScheme;  // "1", "2", ...; start-up makes an empty one "1"
  int calendarType = 0;      // start-up makes 0 into 1
  std::string path;          // folder of the pop-up's own settings file
  int positionFlag = 0;      // non-zero: open at (x, y) on the screen
  int x = 0, y = 0;
  int returnType = 0;              // 1: the date as text, 0: the day number as text
  std::string datePicture = "@d2";  // how date text is read and written
};

CalendarSettings& calendarSettings();

inline constexpr std::string_view kCalendarProcedure = "Calendar";

// Opens the calendar on `date` (date text in the settings' picture, another common date
// form, or a day number; anything else starts on today) and returns the date the user
// chose in the settings' return type, or empty text when the user cancelled. `mode` and
// `colourScheme` are recorded with the settings; `title` is the window's caption.
// Outside every thread nothing can wait: empty text comes back at once.
std::string GCAL(std::string_view path, std::string_view title, std::string_view date, int mode,
                 std::string_view colourScheme);

// The day a seed text names, or 0.
DayNumber calendarSeed(std::string_view date, std::string_view picture);

}  // namespace vrt
