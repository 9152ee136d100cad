#pragma once
// Translation between Qt's keys and the system's key codes (events.h).
#include <Qt>
#include <optional>
#include <utility>

namespace vrt {

// 0 for a key the system has no code for (a lone modifier, for one).
int keyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers);
// The Qt key and modifiers that produce `code`; nullopt for mouse codes and unknown keys.
std::optional<std::pair<Qt::Key, Qt::KeyboardModifiers>> qtKeyFromCode(int code);

}  // namespace vrt
