#pragma once
// The prayer journal's screens.
namespace vesp {

// Registers every prayer-journal browse and form by name.
void RegisterPrayer();

}  // namespace vesp
