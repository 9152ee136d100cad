#pragma once
// The per-thread globals live with the window framework, which reads and writes them.
#include "windows/thread_globals.h"
