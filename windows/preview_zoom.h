#pragma once
// The preview's zoom table and the texts its status bar shows.
#include <array>
#include <string>

namespace vesp {

struct ZoomEntry {
  const char* menuText;
  const char* statusText;
  int percent;  // -2 tile pages, -1 page width
};

inline constexpr std::array<ZoomEntry, 7> kZoomTable = {{
    {"Tile pages", "Zoom: Tile Pages", -2},
    {"Page Width", "Zoom: Page Width", -1},
    {"50% Zoom", "Zoom: 50%", 50},
    {"75% Zoom", "Zoom: 75%", 75},
    {"100% Zoom", "Zoom: 100%", 100},
    {"200% Zoom", "Zoom: 200%", 200},
    {"300% Zoom", "Zoom: 300%", 300},
}};

// Zone 2: "Page 3 of 9", or in tile mode with more than one page shown "Page 1-4 of 9".
std::string PreviewPageStatus(int current, int shown, int count);
// Zone 3: the entry's status text, or "Zoom: 120%" for a free zoom (entry 0).
std::string PreviewZoomStatus(int entry, int percent);
// What the user typed or chose in the zoom list: the entry (1-7) of a menu text, or 0 and
// the percentage of a free zoom ("120", "120%"); -1 for anything else.
int ParseZoomChoice(const std::string& text, int& percent);

}  // namespace vesp
