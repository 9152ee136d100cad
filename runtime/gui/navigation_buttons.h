#pragma once
// The frame toolbar's navigation buttons, left to right: their control codes, tips and icons.
// The frame shows them; browses and forms take the events they post.
#include "runtime/gui/events.h"

namespace vrt {

struct NavigationButton {
  int code;
  const char* tip;
  const char* icon;
};

inline constexpr NavigationButton kNavigationButtons[] = {
    {kToolbarTop, "Go to the First Page", "VCRFIRST.ICO"},   {kToolbarPageUp, "Go to the Prior Page", "VCRPRIOR.ICO"},
    {kToolbarUp, "Go to the Prior Record", "VCRUP.ICO"},      {kToolbarLocate, "Locate record", "FIND.ICO"},
    {kToolbarDown, "Go to the Next Record", "VCRDOWN.ICO"},   {kToolbarPageDown, "Go to the Next Page", "VCRNEXT.ICO"},
    {kToolbarBottom, "Go to the Last Page", "VCRLAST.ICO"},   {kToolbarSelect, "Select This Record", "MARK.ICO"},
    {kToolbarInsert, "Insert a New Record", "INSERT.ICO"},    {kToolbarChange, "Edit This Record", "EDIT.ICO"},
    {kToolbarDelete, "Delete This Record", "DELETE.ICO"},     {kToolbarHistory, "Previous value", "DITTO.ICO"},
    {kToolbarHelp, "Get Help", "HELP.ICO"},
};

}  // namespace vrt
