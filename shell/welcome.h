#pragma once
// The newcomer's welcome: what to set up first, with buttons that open the lists to do it
// in. The first start in an empty folder asks for it; it then shows at every start until the
// user closes it with "show this welcome" unticked.
namespace vesp {

inline constexpr const char* kWelcomeCaption = "Welcome to Vespera";
// The welcome's thread, by name: it opens no table, so a restore need not wait for it.
inline constexpr const char* kWelcomeThread = "Welcome";
// The settings file's section and entry that keep whether the welcome shows at start-up.
inline constexpr const char* kWelcomeSection = "Welcome";
inline constexpr const char* kWelcomeShowEntry = "ShowAtStart";

// Start-up: whether the frame opens the welcome from now on (written to the settings file).
void ShowWelcomeAtStart(bool show);
bool WelcomeShowsAtStart();

// Opens the welcome on a thread of its own, as a window in the frame; returns at once.
void StartWelcome();
// The welcome's procedure; ends when the user closes it.
void Welcome();

}  // namespace vesp
