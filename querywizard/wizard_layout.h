#pragma once
// The layouts of the wizard window and its description form, as data: texts come from the
// display-text table when the window is built.
#include <string>

#include "runtime/gui/window_design.h"

namespace qrywiz {

inline constexpr std::string_view kWizardProcedure = "XB_QWIZARD";
inline constexpr std::string_view kDescriptionProcedure = "QueryDescription";

// The variables page 3 and page 5 edit through their controls.
struct WizardVariables {
  std::string value, checkValue = "0", matchType = "0", compareTo = "1", manualText;
};

vrt::WindowSpec wizardWindow(WizardVariables& vars);
vrt::WindowSpec descriptionForm(std::string caption, std::string& description);

}  // namespace qrywiz
