#pragma once
// Blessings, praises and journal entries: a browse and a form each.
namespace vesp {

void BrowseBlessings();
void UpdateBlessings();
void BrowsePraises();
void UpdatePraises();
void BrowseJournal();
void UpdateJournal();

void RegisterJournalScreens();

}  // namespace vesp
