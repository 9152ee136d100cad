#pragma once
// Test-only screens for the framework's choices that no form of the program makes (a history
// key of the form's own, a required look-up, a viewed form whose look-up entry stays open, a
// child list in a viewed form), declared the way the program's forms are: a Role form (one
// text field) and a form of associated files with a validated text
// look-up into ElementType, the program's own pick-list browse, and a stand-in child list.
#include <string>
#include <vector>

#include "windows/form_declaration.h"

namespace vesp::testing {

inline constexpr const char* kRoleForm = "UpdateRoleTest";
inline constexpr const char* kFileForm = "UpdateFileTest";
// The look-up browse, by procedure; its list is kLookupList.
inline constexpr const char* kSelectElementType = "BrowseElementType";
inline constexpr const char* kLookupList = "?Browse:1";

const FormDecl& RoleForm();
const FormDecl& FileForm();
void UpdateRoleTest();
void UpdateFileTest();
// What the child list of the file form called, by request.
std::vector<Request>& ChildFormCalls();

}  // namespace vesp::testing
