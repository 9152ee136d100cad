#include <cstdio>

// The main frame is not built yet; the program says so and ends cleanly.
int main() {
  std::puts("Vespera: the main window is not available yet.");
  return 0;
}
