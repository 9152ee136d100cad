#pragma once
// Puts the library's own windows behind its hooks (hooks.h): the program calls this once
// at start-up; tests that script the answers instead leave the hooks alone.
namespace qrywiz {

void useLibraryWindows();

}  // namespace qrywiz
