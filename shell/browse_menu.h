#pragma once
// The browses the main frame starts: each on a thread of its own, with its menu text, help
// text, window caption, procedure, module and the stack size the thread asks for.
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
  const char* procedure;  // "BrowseService"
  const char* module;     // "vsp$vsp008"
  const char* table;      // the table it lists
  std::size_t stackSize;
};

// The Browse menu's items, in menu order.
std::span<const BrowseEntry> browseEntries();
// The Browse menu's "Lists" submenu: every pick list, in menu order.
std::span<const BrowseEntry> listEntries();
// Either kind, by procedure name (any case); nullptr when none.
const BrowseEntry* browseEntry(std::string_view procedure);

// Starts the browse on a new thread (its registered procedure; until a screen registers
// one, a plain window with its caption that lists how many records its table holds) and returns at once; the thread's number.
int StartBrowse(const BrowseEntry& entry);

}  // namespace vesp
