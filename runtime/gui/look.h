#pragma once
// Icons and fonts by the names the system's windows use. Every icon comes from our own
// set (a Qt standard icon where one fits, else one drawn here); a font that is not
// installed falls back to the desktop's own UI font at the size asked.
#include <QFont>
#include <QIcon>
#include <string_view>

namespace vrt {

// Message-box icon names.
inline constexpr std::string_view kIconInformation = "ICON:Information";
inline constexpr std::string_view kIconExclamation = "ICON:Exclamation";
inline constexpr std::string_view kIconQuestion = "ICON:Question";
inline constexpr std::string_view kIconHand = "ICON:Hand";

// "INSERT.ICO", "VCRFIRST.ICO", "ICON:Question" ... (case does not matter); a null icon
// for a name we do not know.
QIcon iconFor(std::string_view name);
bool knownIcon(std::string_view name);

// `name` at `pointSize` (0: the desktop's size); the desktop font when `name` is empty
// or not installed.
QFont fontFor(std::string_view name, int pointSize);

}  // namespace vrt
