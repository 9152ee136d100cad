#include "screens/prayer/journal_conventions.h"

namespace vesp {

void FollowJournalConventions(BrowseDecl& browse) {
  browse.rememberPlace = false;
  browse.buttonTips = {{"?Select", "Select the Record"}, {"?View", "View Record"},
                       {"?Insert", "Insert a Record"},  {"?Change", "Change the Record"},
                       {"?Delete", "Delete the Record"}, {"?Close", "Close Window"},
                       {"?Help", "See Help Window"}};
}

void FollowJournalConventions(FormDecl& form) {
  form.rememberPlace = false;
  form.captions.insert = "Record Will Be Added";
  form.captions.change = "Record Will Be Changed";
  form.captions.view = "View Record";
  form.buttonTips = {{"?OK", "Accept data and close the window"},
                     {"?Cancel", "Cancel operation"},
                     {"?Help", "See Help Window"}};
}

}  // namespace vesp
