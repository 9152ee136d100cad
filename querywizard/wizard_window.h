#pragma once
// The wizard window and the description form, on the calling thread (which waits by
// taking events). Both stand behind the library's hooks (library_windows.cpp).
#include <optional>
#include <string>
#include <string_view>

#include "querywizard/hooks.h"

namespace qrywiz {

// Runs the pages until the user finishes (true: the session holds the result) or cancels.
bool runWizardWindow(WizardSession& session);

// The description form: the accepted description, nullopt when cancelled.
std::optional<std::string> runDescriptionForm(DescriptionRequest request, std::string_view current);

}  // namespace qrywiz
