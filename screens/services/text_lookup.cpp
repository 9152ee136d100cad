#include "screens/services/text_lookup.h"

namespace vesp {

FormItem TextLookup(std::string prompt, std::string use, FieldRef field, const dict::TableDecl& list, int key,
                    int textField, Procedure browse, std::string button) {
  LookupDecl l = lookupInto(std::move(button), std::move(browse), list, key, textField);
  return lookupField(std::move(prompt), std::move(use), std::move(field), std::move(l));
}

}  // namespace vesp
