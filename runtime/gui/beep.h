#pragma once
// The warning sound a window gives for input it refuses. Frequency (Hz) and duration
// are what the caller asks for; the desktop plays its own warning sound.
namespace vrt {

void Beep(int frequency = 0, int duration = 0);

// Beeps since the program started, and the last one's request, so that tests can see
// that a refusal was signalled.
int BeepCount();
struct BeepRequest {
  int frequency = 0;
  int duration = 0;
};
BeepRequest LastBeep();

}  // namespace vrt
