#include "runtime/gui/calendar.h"

#include <QPushButton>
#include <array>
#include <optional>

#include "runtime/gui/calendar_month.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "runtime/text/picture.h"
#include "runtime/text/utf8.h"

namespace vrt {

namespace {

struct KeyMove {
  int key;
  int days;
  int months;
};

constexpr std::array<KeyMove, 8> kKeyMoves{{
    {kLeftKey, -1, 0}, {kRightKey, 1, 0}, {kUpKey, -7, 0}, {kDownKey, 7, 0},
    {kPgUpKey, 0, -1}, {kPgDnKey, 0, 1},  {kCtrlPgUp, 0, -12}, {kCtrlPgDn, 0, 12},
}};

struct NavButton {
  const char* use;
  const char* caption;
  int months;
};

constexpr std::array<NavButton, 4> kNavButtons{{
    {"?PrevYear", "<<", -12}, {"?PrevMonth", "<", -1}, {"?NextMonth", ">", 1}, {"?NextYear", ">>", 12},
}};

constexpr std::array<const char*, 7> kWeekdays{"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};

// Seed texts users and screens hand over, tried after the caller's own picture.
constexpr std::array<const char*, 5> kSeedPictures{"@d2", "@d1", "@d17", "@d6", "@d18"};

std::string dayUse(int cell) { return "?Day" + std::to_string(cell + 1); }

WindowSpec calendarWindow(std::string caption) {
  WindowSpec design = windowSpec(std::move(caption), std::string(kCalendarProcedure));
  std::vector<ControlSpec> header;
  for (std::size_t i = 0; i < kNavButtons.size(); ++i) {
    if (i == 2) header.push_back(prompt({}, "?MonthTitle"));
    header.push_back(button(kNavButtons[i].use, kNavButtons[i].caption));
  }
  std::vector<ControlSpec> days;
  for (const char* weekday : kWeekdays) days.push_back(prompt(weekday));
  for (int cell = 0; cell < CalendarMonth::kCells; ++cell) days.push_back(button(dayUse(cell), {}));
  design.controls = {row(std::move(header)), grid(7, std::move(days)),
                   row({button("?Today", "&Today"), button("?OK", "&OK"), button("?Cancel", "&Cancel")})};
  design.alertKeys = {kEnterKey, kEscKey, kHomeKey};
  for (const KeyMove& m : kKeyMoves) design.alertKeys.push_back(m.key);
  return design;
}

void show(Window& window, const CalendarMonth& month) {
  window.control("?MonthTitle")->setText(month.title());
  for (int cell = 0; cell < CalendarMonth::kCells; ++cell) {
    Control* c = window.control(dayUse(cell));
    const DayNumber day = month.cell(cell);
    auto ymd = ymdFromDate(day);
    c->setText(ymd ? std::to_string(ymd->day) : std::string());
    c->setDisabled(!ymd);
    if (auto* b = qobject_cast<QPushButton*>(c->widget())) b->setFlat(!month.inMonth(day));
  }
  Control* chosen = window.control(dayUse(month.cellOf(month.chosen())));
  chosen->setDefault(true);
  window.select(chosen->number());
}

std::string resultText(DayNumber day, const CalendarSettings& settings) {
  if (settings.returnType != 1) return std::to_string(day);
  auto picture = Picture::parse(settings.datePicture);
  if (!picture || picture->kind() != Picture::Kind::Date) picture = Picture::parse("@d2");
  return std::string(clip(picture->format(static_cast<double>(day))));
}

// Runs the calendar's window until a date is chosen (returned) or it is cancelled.
std::optional<DayNumber> runCalendar(Window& window, CalendarMonth& month) {
  for (;;) {
    show(window, month);
    const Event e = window.accept();
    if (e.event == kEventCloseWindow || e.event == kEventCloseDown) return std::nullopt;
    if (e.event == kEventAlertKey) {
      if (e.key == kEnterKey) return month.chosen();
      if (e.key == kEscKey) return std::nullopt;
      if (e.key == kHomeKey) month.goToday();
      for (const KeyMove& m : kKeyMoves)
        if (m.key == e.key) {
          month.moveDays(m.days);
          month.moveMonths(m.months);
        }
      continue;
    }
    if (e.event != kEventAccepted) continue;
    Control* c = window.control(e.control);
    if (!c) continue;
    if (c->use() == "?OK") return month.chosen();
    if (c->use() == "?Cancel") return std::nullopt;
    if (c->use() == "?Today") month.goToday();
    for (const NavButton& n : kNavButtons)
      if (c->use() == n.use) month.moveMonths(n.months);
    for (int cell = 0; cell < CalendarMonth::kCells; ++cell)
      if (c->use() == dayUse(cell)) return month.cell(cell);
  }
}

}  // namespace

CalendarSettings& calendarSettings() {
  static CalendarSettings settings;
  return settings;
}

DayNumber calendarSeed(std::string_view date, std::string_view picture) {
  const std::string_view text = clip(date);
  if (text.empty()) return 0;
  std::vector<std::string_view> pictures{picture};
  pictures.insert(pictures.end(), kSeedPictures.begin(), kSeedPictures.end());
  for (std::string_view p : pictures) {
    auto parsed = Picture::parse(p);
    if (!parsed || parsed->kind() != Picture::Kind::Date) continue;
    if (auto day = parsed->deformat(text); day && isValidDate(static_cast<DayNumber>(*day)))
      return static_cast<DayNumber>(*day);
  }
  if (text.find_first_not_of("0123456789 ") == std::string_view::npos) {
    const long long n = std::stoll(std::string(text.substr(0, 12)));
    if (n > 0 && n <= kLastDay && isValidDate(static_cast<DayNumber>(n))) return static_cast<DayNumber>(n);
  }
  return 0;
}

std::string GCAL(std::string_view path, std::string_view title, std::string_view date, int /*mode*/,
                 std::string_view colourScheme) {
  CalendarSettings& settings = calendarSettings();
  settings.path = std::string(path);
  if (!colourScheme.empty()) settings.colourScheme = std::string(colourScheme);
  if (ThreadNumber() == 0) return {};
  CalendarMonth month(calendarSeed(date, settings.datePicture));
  Window window(calendarWindow(std::string(title)));
  if (settings.positionFlag != 0) window.setPosition(QRect(settings.x, settings.y, 0, 0));
  window.open();
  const std::optional<DayNumber> chosen = runCalendar(window, month);
  window.close();
  return chosen ? resultText(*chosen, settings) : std::string();
}

}  // namespace vrt
