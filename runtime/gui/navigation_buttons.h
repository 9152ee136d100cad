#pragma once
// The frame toolbar's navigation buttons, left to right: their actions, tips and icons.
// The frame shows them; browses and forms take the events they post.
#include "runtime/gui/events.h"

namespace vrt {

struct NavigationButton {
  ToolbarAction action;
  const char* tip;
  const char* icon;
};

inline constexpr NavigationButton kNavigationButtons[] = {
    {ToolbarAction::Top, "Go to the First Page", "VCRFIRST.ICO"},
    {ToolbarAction::PageUp, "Go to the Prior Page", "VCRPRIOR.ICO"},
    {ToolbarAction::Up, "Go to the Prior Record", "VCRUP.ICO"},
    {ToolbarAction::Locate, "Locate record", "FIND.ICO"},
    {ToolbarAction::Down, "Go to the Next Record", "VCRDOWN.ICO"},
    {ToolbarAction::PageDown, "Go to the Next Page", "VCRNEXT.ICO"},
    {ToolbarAction::Bottom, "Go to the Last Page", "VCRLAST.ICO"},
    {ToolbarAction::Select, "Select This Record", "MARK.ICO"},
    {ToolbarAction::Insert, "Insert a New Record", "INSERT.ICO"},
    {ToolbarAction::Change, "Edit This Record", "EDIT.ICO"},
    {ToolbarAction::Delete, "Delete This Record", "DELETE.ICO"},
    {ToolbarAction::History, "Previous value", "DITTO.ICO"},
    {ToolbarAction::Help, "Get Help", "HELP.ICO"},
};

}  // namespace vrt
