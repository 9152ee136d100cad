#pragma once
// Every screen procedure of the program, registered by name (windows/procedures.h) so the
// main frame, call tables and print buttons can reach them.
namespace vesp {

// Registers every folder's procedures; start-up calls it once, before the main frame opens.
void RegisterScreens();

}  // namespace vesp
