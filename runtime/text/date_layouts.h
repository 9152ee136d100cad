#pragma once
// The layouts of the numbered date and time pictures, shared by formatting and by the
// typing hints so the two can never disagree.

namespace vrt::date_layouts {

// By picture number. Letters: m month, d day (two digits each), y two-digit year,
// Y four-digit year, b/B short/long month name; "/" is the picture's separator.
inline constexpr const char* kDateLayouts[] = {
    nullptr, "m/d/y", "m/d/Y", "b d, Y", "B d, Y", "d/m/y", "d/m/Y", "d b y", "d b Y",
    "y/m/d", "Y/m/d", "ymd",   "Ymd",    "m/y",    "m/Y",   "y/m",   "Y/m",
};
// Pictures that follow the user's locale instead of a layout of their own.
inline constexpr int kLocaleShortDate = 17, kLocaleLongDate = 18;
inline constexpr int kLocaleShortTime = 7, kLocaleLongTime = 8;

}  // namespace vrt::date_layouts
