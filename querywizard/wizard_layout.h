#pragma once
// The layouts of the wizard window and its description form, as data: texts come from the
// display-text table when the window is built.
#include <string>
#include <string_view>

#include "runtime/gui/window_design.h"

namespace qrywiz {

inline constexpr std::string_view kWizardProcedure = "XB_QWIZARD";
inline constexpr std::string_view kDescriptionProcedure = "QueryDescription";

// The variables page 3 and page 5 edit through their controls.
struct WizardVariables {
  std::string value, checkValue = "0", matchType = "0", compareTo = "1", manualText;
};

vrt::WindowSpec wizardWindow(WizardVariables& vars);
// The point size a control of the wizard was laid out with, which picks its font set.
int wizardDesignedFontSize(std::string_view use);
// Page 5's field list in dialog units (a quarter of the font's average character width):
// beside the expression-builder button, and alone when that button is hidden.
inline constexpr int kManualFieldsWidth = 91;
inline constexpr int kManualFieldsWideWidth = 109;
inline constexpr int kValueBesideLookupWidth = 116;

vrt::WindowSpec descriptionForm(std::string caption, std::string prompt, std::string& description);

}  // namespace qrywiz
