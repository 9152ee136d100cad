#pragma once
// A request to end from outside (SIGTERM from a logout or `kill`, SIGHUP from a closed
// terminal) closes the program as its close box does: forms are asked, the settings are
// written and the data files closed, instead of the process simply dying.
namespace vesp {

// Installs the handlers; needs the application object. Call before the program runs; a
// second call changes nothing. A signal before the frame is open closes it once it opens.
void CloseOnTerminateSignal();

}  // namespace vesp
