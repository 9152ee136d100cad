#pragma once
// The one list of categories that prayer requests and journal entries are filed under, with
// its two browses (one for each kind of entry, both over every category) and its form.
#include <string>

#include "windows/form_declaration.h"

namespace vesp {

void BrowsePrayerRequestCategory();
void BrowseJournalCategory();
void UpdateCategory();

// A "Category:" field's look-up into the list through `browse`. A category is found by its
// text whatever list number it was stored under.
LookupDecl CategoryLookup(Procedure browse);

void RegisterCategories();

}  // namespace vesp
