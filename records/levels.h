#pragma once
// Message levels. The same values are the results that framework operations return,
// so a caller can pass a message's answer straight back up.
namespace vesp {

enum class Level : int {
  Benign = 0,   // success; a message of this level shows nothing
  Ask = 1,      // a Yes/No question
  Program = 2,  // a program error: shown as fatal
  Fatal = 3,    // shown, then the program ends
  Cancel = 4,   // asked like Ask; also the result of answering No
  Notify = 5,   // shown with OK; also the result of a notification
};

// A level kept as a number: a message table's level byte, a setting, an exit code. A number
// outside the list stays what it is; it is shown as a program error.
constexpr Level levelFromNumber(int number) { return static_cast<Level>(number); }
constexpr int levelNumber(Level level) { return static_cast<int>(level); }

}  // namespace vesp
