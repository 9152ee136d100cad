#pragma once
// The program with the screens of service elements, the bibliography and performers.
#include "ui/screens_fixture.h"

namespace vesp::testing {

using ElementsTest = ScreensTest;

}  // namespace vesp::testing
