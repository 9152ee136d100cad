#include "runtime/gui/keys.h"

#include <array>

#include "runtime/gui/events.h"

namespace vrt {

namespace {

struct KeyPair {
  int code;
  Qt::Key qt;
};

// Keys whose codes are not their own character.
constexpr std::array<KeyPair, 26> kKeys{{
    {0x08, Qt::Key_Backspace}, {kTabKey, Qt::Key_Tab},      {kEnterKey, Qt::Key_Return},
    {kEscKey, Qt::Key_Escape}, {kSpaceKey, Qt::Key_Space},  {kPgUpKey, Qt::Key_PageUp},
    {kPgDnKey, Qt::Key_PageDown}, {kEndKey, Qt::Key_End},   {kHomeKey, Qt::Key_Home},
    {kLeftKey, Qt::Key_Left},  {kUpKey, Qt::Key_Up},        {kRightKey, Qt::Key_Right},
    {kDownKey, Qt::Key_Down},  {kInsertKey, Qt::Key_Insert}, {kDeleteKey, Qt::Key_Delete},
    {kQuoteKey, Qt::Key_Apostrophe}, {kCommaKey, Qt::Key_Comma}, {kPeriodKey, Qt::Key_Period},
    {kMinusKey, Qt::Key_Minus}, {kSlashKey, Qt::Key_Slash},  {kSemicolonKey, Qt::Key_Semicolon},
    {kEqualKey, Qt::Key_Equal}, {kGraveKey, Qt::Key_QuoteLeft}, {kLeftBracketKey, Qt::Key_BracketLeft},
    {kBackslashKey, Qt::Key_Backslash}, {kRightBracketKey, Qt::Key_BracketRight},
}};

int baseCode(int qtKey) {
  if (qtKey == Qt::Key_Enter) return kEnterKey;  // the keypad's Enter is Enter
  if (qtKey == Qt::Key_Backtab) return kTabKey;
  for (const KeyPair& k : kKeys)
    if (k.qt == qtKey) return k.code;
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return kF1Key + (qtKey - Qt::Key_F1);
  return 0;
}

}  // namespace

int keyCodeFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
  int code = baseCode(qtKey);
  if (code == 0) return 0;
  if (modifiers & Qt::ShiftModifier || qtKey == Qt::Key_Backtab) code |= kShift;
  if (modifiers & Qt::ControlModifier) code |= kCtrl;
  if (modifiers & Qt::AltModifier) code |= kAlt;
  return code;
}

std::optional<std::pair<Qt::Key, Qt::KeyboardModifiers>> qtKeyFromCode(int code) {
  Qt::KeyboardModifiers modifiers;
  if (code & kShift) modifiers |= Qt::ShiftModifier;
  if (code & kCtrl) modifiers |= Qt::ControlModifier;
  if (code & kAlt) modifiers |= Qt::AltModifier;
  const int base = code & 0xFF;
  for (const KeyPair& k : kKeys)
    if (k.code == base) return std::make_pair(k.qt, modifiers);
  if ((base >= 'A' && base <= 'Z') || (base >= '0' && base <= '9')) return std::make_pair(Qt::Key(base), modifiers);
  if (base >= kF1Key && base <= kF1Key + 23) return std::make_pair(Qt::Key(Qt::Key_F1 + (base - kF1Key)), modifiers);
  return std::nullopt;
}

}  // namespace vrt
