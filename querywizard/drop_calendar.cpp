#include "querywizard/drop_calendar.h"

#include <array>
#include <optional>
#include <string>

#include "querywizard/drop_calendar_month.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace qrywiz {

namespace {

constexpr std::array<const char*, 7> kWeekdays{"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};

std::string cellUse(int cell) { return "?Day" + std::to_string(cell + 1); }

int cellOfUse(std::string_view use) {
  for (int cell = 0; cell < DropCalendarMonth::kCells; ++cell)
    if (use == cellUse(cell)) return cell;
  return -1;
}

vrt::WindowSpec dropCalendarWindow() {
  vrt::WindowSpec design = vrt::windowSpec("Calendar", std::string(kDropCalendarProcedure));
  std::vector<vrt::ControlSpec> days;
  for (const char* weekday : kWeekdays) days.push_back(vrt::prompt(weekday));
  for (int cell = 0; cell < DropCalendarMonth::kCells; ++cell) days.push_back(vrt::button(cellUse(cell), {}));
  design.controls = {
      vrt::row({vrt::button("?PrevMonth", "<"), vrt::prompt({}, "?MonthTitle"), vrt::button("?NextMonth", ">")}),
      vrt::grid(7, std::move(days)),
      vrt::row({vrt::button("?Today", "&Today"), vrt::button("?None", "&None")}),
  };
  design.alertKeys = {vrt::kEnterKey, vrt::kEscKey, vrt::kTabKey, vrt::kPgUpKey, vrt::kPgDnKey, vrt::kHomeKey};
  return design;
}

void show(vrt::Window& window, const DropCalendarMonth& month) {
  window.control("?MonthTitle")->setText(month.title());
  for (int cell = 0; cell < DropCalendarMonth::kCells; ++cell) {
    const int day = month.dayInCell(cell);
    char text[3] = {' ', ' ', 0};
    if (day != 0) {
      text[0] = day < 10 ? ' ' : static_cast<char>('0' + day / 10);
      text[1] = static_cast<char>('0' + day % 10);
    }
    window.control(cellUse(cell))->setText(day != 0 ? text : "");
  }
  vrt::Control* current = window.control(cellUse(month.currentCell()));
  current->setDefault(true);
  window.select(current->number());
}

// Below the control of the thread's newest window other than the calendar itself.
void placeBelow(vrt::Window& calendar, std::int32_t control) {
  vrt::Window* owner = nullptr;
  for (vrt::Window* w : vrt::Window::openWindows())
    if (w != &calendar && w->thread() == calendar.thread()) owner = w;
  vrt::Control* c = owner ? owner->control(static_cast<int>(control)) : nullptr;
  if (!c || !c->hasOwnWidget()) return;
  const QRect field = c->screenRect();
  calendar.setPosition(QRect(QPoint(field.left(), field.top() + field.height()), QSize()));
}

// The chosen day, or nullopt when the calendar was left without one.
std::optional<std::int32_t> run(vrt::Window& window, DropCalendarMonth& month) {
  for (;;) {
    show(window, month);
    const vrt::Event e = window.accept();
    if (e.event == vrt::kEventCloseWindow || e.event == vrt::kEventCloseDown) return std::nullopt;
    if (e.event == vrt::kEventAlertKey) {
      switch (e.key) {
        case vrt::kEscKey: return std::nullopt;
        case vrt::kEnterKey:
        case vrt::kTabKey: return month.current();
        case vrt::kPgUpKey: month.previousMonth(); break;
        case vrt::kPgDnKey: month.nextMonth(); break;
        case vrt::kHomeKey: return vrt::today();
      }
      continue;
    }
    if (e.event != vrt::kEventAccepted) continue;
    const vrt::Control* c = window.control(e.control);
    if (!c) continue;
    if (c->use() == "?PrevMonth") month.previousMonth();
    if (c->use() == "?NextMonth") month.nextMonth();
    if (c->use() == "?Today") return vrt::today();
    if (c->use() == "?None") return 0;
    if (const int cell = cellOfUse(c->use()); cell >= 0 && month.chooseCell(cell)) return month.current();
  }
}

}  // namespace

std::int32_t runDropCalendar(std::int32_t given, std::int32_t control) {
  if (vrt::ThreadNumber() == 0) return given;
  DropCalendarMonth month(given);
  vrt::Window window(dropCalendarWindow());
  window.open();
  placeBelow(window, control);
  const std::optional<std::int32_t> chosen = run(window, month);
  window.close();
  return chosen.value_or(given);
}

}  // namespace qrywiz
