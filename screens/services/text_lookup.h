#pragma once
// A validated look-up that copies the chosen text of a pick list into the field: later
// changes of the pick list leave the record as it was.
#include <string>

#include "windows/form_declaration.h"

namespace vesp {

FormItem TextLookup(std::string prompt, std::string use, FieldRef field, const dict::TableDecl& list, int key,
                    int textField, Procedure browse, std::string button = kLookupButtonUse);

}  // namespace vesp
