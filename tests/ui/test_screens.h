#pragma once
// Test-only screens over pick-list tables, declared the way the program's forms are: a
// Role form (one text field, and a screen-local date) and a form of associated files with a
// validated text look-up into ElementType and a number look-up into Role. The look-ups are
// the program's own pick-list browses.
#include <string>
#include <vector>

#include "windows/form_declaration.h"

namespace vesp::testing {

inline constexpr const char* kRoleForm = "UpdateRoleTest";
inline constexpr const char* kFileForm = "UpdateFileTest";
// The look-up browses, by procedure; their list is kLookupList.
inline constexpr const char* kSelectElementType = "BrowseElementType";
inline constexpr const char* kSelectRole = "BrowseRole";
inline constexpr const char* kLookupList = "?Browse:1";
inline constexpr const char* kChildForm = "UpdateChildTest";

const FormDecl& RoleForm();
const FormDecl& FileForm();
void UpdateRoleTest();
void UpdateFileTest();
// What the child list of the file form called, by request.
std::vector<Request>& ChildFormCalls();

}  // namespace vesp::testing
