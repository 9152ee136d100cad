#include "runtime/gui/events.h"

#include <array>
#include <utility>

namespace vrt {

namespace {
constexpr std::array<std::pair<int, const char*>, 23> kEventNames{{
    {kEventAccepted, "Accepted"},       {kEventNewSelection, "NewSelection"},
    {kEventScrollUp, "ScrollUp"},       {kEventScrollDown, "ScrollDown"},
    {kEventPageUp, "PageUp"},           {kEventPageDown, "PageDown"},
    {kEventScrollTop, "ScrollTop"},     {kEventScrollBottom, "ScrollBottom"},
    {kEventLocate, "Locate"},           {kEventAlertKey, "AlertKey"},
    {kEventSelected, "Selected"},       {kEventRejected, "Rejected"},
    {kEventScrollDrag, "ScrollDrag"},   {kEventRowDropped, "RowDropped"},
    {kEventCloseWindow, "CloseWindow"}, {kEventCloseDown, "CloseDown"},
    {kEventOpenWindow, "OpenWindow"},
    {kEventGainFocus, "GainFocus"},     {kEventLoseFocus, "LoseFocus"},
    {kEventCompleted, "Completed"},     {kEventTimer, "Timer"},
    {kEventNotify, "Notify"},           {kEventNone, "None"},
}};
}  // namespace

std::string eventName(int event) {
  for (const auto& [code, name] : kEventNames)
    if (code == event) return name;
  return std::to_string(event);
}

}  // namespace vrt
