#pragma once
// Test-only screens over pick-list tables, declared the way the program's forms are: a
// Role form (one text field, and a screen-local date), a form of associated files with a
// validated text look-up into ElementType and a number look-up into Role, and stand-ins
// for the look-up browses that list a table and let the user select a record.
#include <string>
#include <vector>

#include "windows/form_declaration.h"

namespace vesp::testing {

inline constexpr const char* kRoleForm = "UpdateRoleTest";
inline constexpr const char* kFileForm = "UpdateFileTest";
inline constexpr const char* kSelectElementType = "SelectElementTypeTest";
inline constexpr const char* kSelectRole = "SelectRoleTest";
inline constexpr const char* kChildForm = "UpdateChildTest";

const FormDecl& RoleForm();
const FormDecl& FileForm();
void UpdateRoleTest();
void UpdateFileTest();
// The look-up browses: a list of the table's texts, "&Select" and "Cancel".
void SelectElementTypeTest();
void SelectRoleTest();
// What the child list of the file form called, by request.
std::vector<Request>& ChildFormCalls();

}  // namespace vesp::testing
