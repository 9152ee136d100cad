#pragma once
// The browses the main frame starts: each on a thread of its own, with its menu text, help
// text, window caption, procedure and the stack size the thread asks for.
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "windows/procedures.h"

namespace vesp {

struct BrowseEntry {
  const char* use;        // the menu item's use name
  const char* menuText;   // "Browse the &Services file", with its mnemonic
  const char* helpText;   // status-bar help; "" for none
  const char* caption;    // "Browse the Service File"
  const char* procedure;  // "BrowseService"; start-up checks that a screen registered it
  std::size_t stackSize;
};

// The Browse menu's items, in menu order.
std::span<const BrowseEntry> browseEntries();
// The Browse menu's "Lists" submenu: every pick list, in menu order.
std::span<const BrowseEntry> listEntries();
// Either kind, by procedure name (any case); nullptr when none.
const BrowseEntry* browseEntry(std::string_view procedure);

// Starts the browse's registered procedure on a new thread and returns at once; the thread's
// number, 0 when no screen registered the procedure (the user is told).
int StartBrowse(const BrowseEntry& entry);

}  // namespace vesp
