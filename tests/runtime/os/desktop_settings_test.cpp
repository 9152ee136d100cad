#include "runtime/os/desktop_settings.h"

#include <gtest/gtest.h>

#include "runtime/testing/fake_desktop_settings.h"

namespace vrt {
namespace {

TEST(DesktopSettingsTest, ThePortableDesktopReportsOffAndChangesNothing) {
#ifndef _WIN32
  auto system = makeSystemDesktopSettings();
  EXPECT_FALSE(system->dragFullWindows());
  EXPECT_TRUE(system->setDragFullWindows(true));
  EXPECT_FALSE(system->dragFullWindows());
#endif
}

TEST(DesktopSettingsTest, AnInstalledFakeIsWhatTheProgramUsesUntilRemoved) {
  auto previous = installDesktopSettings(std::make_unique<FakeDesktopSettings>(true));
  auto* fake = static_cast<FakeDesktopSettings*>(&desktopSettings());
  // What start-up and shutdown do with it.
  const bool wasOn = desktopSettings().dragFullWindows();
  if (wasOn) desktopSettings().setDragFullWindows(false);
  EXPECT_FALSE(desktopSettings().dragFullWindows());
  if (wasOn) desktopSettings().setDragFullWindows(true);
  EXPECT_EQ(fake->changes, (std::vector<bool>{false, true}));
  EXPECT_EQ(fake->reads, 2);

  installDesktopSettings(nullptr);
  EXPECT_NE(&desktopSettings(), fake) << "back to the system's own";
  installDesktopSettings(std::move(previous));
}

}  // namespace
}  // namespace vrt
