#pragma once
// Message levels. The same numbers are the results that framework operations return,
// so a caller can pass a message's answer straight back up.
namespace vesp::Level {

inline constexpr int Benign = 0;   // success; a message of this level shows nothing
inline constexpr int Ask = 1;      // a Yes/No question
inline constexpr int Program = 2;  // a program error: shown as fatal
inline constexpr int Fatal = 3;    // shown, then the program ends
inline constexpr int Cancel = 4;   // asked like level 1; also the result of answering No
inline constexpr int Notify = 5;   // shown with OK; also the result of a notification

}  // namespace vesp::Level
