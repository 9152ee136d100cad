#include "querywizard/library_windows.h"

#include "querywizard/busy_window.h"
#include "querywizard/choice_windows.h"
#include "querywizard/drop_calendar.h"
#include "querywizard/expression_builder.h"
#include "querywizard/hooks.h"
#include "querywizard/navigation_window.h"
#include "querywizard/wizard_window.h"

namespace qrywiz {

void useLibraryWindows() {
  Hooks& h = hooks();
  h.busyBegin = openBusyWindow;
  h.busyEnd = closeBusyWindow;
  h.dropCalendar = runDropCalendar;
  h.wizard = runWizardWindow;
  h.describe = runDescriptionForm;
  h.queryOption = runQueryOption;
  h.buildExpression = runExpressionBuilder;
  h.navigationBegin = openNavigationProgress;
  h.navigationTick = tickNavigationProgress;
  h.navigationEnd = closeNavigationProgress;
}

}  // namespace qrywiz
