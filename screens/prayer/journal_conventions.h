#pragma once
// What every prayer-journal screen does alike: it keeps no window place of its own (it
// still opens centred in the frame), each button carries its help text, and a form's
// caption tells what it was called for.
#include "windows/browse_declaration.h"
#include "windows/form_declaration.h"

namespace vesp {

void FollowJournalConventions(BrowseDecl& browse);
void FollowJournalConventions(FormDecl& form);

}  // namespace vesp
