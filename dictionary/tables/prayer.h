#pragma once
// The prayer journal: requests with their answers, blessings, praises and journal entries.
// Their numbered keys are unique and auto-numbered but not primary, and their keys carry
// no index names of their own inside the data files.
#include "dictionary/declare.h"

#define VESP_PRAYERREQUEST_FIELDS(F)                                        \
  F(PRA, LONG, 4, REQUESTNUMBER, "Request #", "@n9")                        \
  F(PRA, STRING, 5000, REQUEST, "Request:", "@s255")                        \
  F(PRA, DATE, 4, DATESTARTED, "Date Started:", "@d2-b")                    \
  F(PRA, DATE, 4, DATEANSWERED, "Date Answered:", "@d2-b")                  \
  F(PRA, STRING, 10, NUMBERDAYS, "Number of Days:", "@s10")                 \
  F(PRA, STRING, 20, ANSWER, "Answer:", "@s20")                             \
  F(PRA, STRING, 5000, COMMENTS, "Comments:", "@s255")                      \
  F(PRA, STRING, 30, REQUESTCATEGORY, "Category:", "@s30")
// The last key's third component is the request text itself, not the request number.
#define VESP_PRAYERREQUEST_KEYS(K, KX)                                                    \
  K(PRA, RequestNumberKey, kUnique | kAutoNumber, REQUESTNUMBER)                          \
  K(PRA, DateStartedKey, kDuplicates, DATESTARTED, REQUESTNUMBER)                         \
  K(PRA, DateAnsweredKey, kDuplicates, DATEANSWERED, REQUESTNUMBER)                       \
  K(PRA, RequestCategoryKey, kDuplicates, REQUESTCATEGORY, DATESTARTED, REQUESTNUMBER)    \
  K(PRA, RequestCategoryAnsweredKey, kDuplicates, REQUESTCATEGORY, DATEANSWERED, REQUEST)
VESP_TABLE(PRA, PrayerRequest, 2, None, VESP_PRAYERREQUEST_FIELDS, VESP_PRAYERREQUEST_KEYS)

#define VESP_BLESSINGS_FIELDS(F)                                            \
  F(BLE, LONG, 4, BLESSINGNUMBER, "Number:", "@n9")                         \
  F(BLE, STRING, 5000, BLESSING, "Blessing", "@s255")                       \
  F(BLE, DATE, 4, BLESSINGDATE, "Blessing Date:", "@d2-b")                  \
  F(BLE, STRING, 30, BLESSINGCATEGORY, "Category:", "@s30")
#define VESP_BLESSINGS_KEYS(K, KX)                                                     \
  K(BLE, BlessingNumberKey, kUnique | kAutoNumber, BLESSINGNUMBER)                     \
  K(BLE, BlessingDateKey, kDuplicates, BLESSINGDATE, BLESSINGNUMBER)                   \
  K(BLE, BlessingCategoryKey, kDuplicates, BLESSINGCATEGORY, BLESSINGDATE, BLESSINGNUMBER)
VESP_TABLE(BLE, Blessings, 2, None, VESP_BLESSINGS_FIELDS, VESP_BLESSINGS_KEYS)

#define VESP_PRAISES_FIELDS(F)                                              \
  F(PRS, LONG, 4, PRAISENUMBER, "Number:", "@n9")                           \
  F(PRS, STRING, 5000, PRAISE, "Blessing", "@s255")                         \
  F(PRS, DATE, 4, PRAISEDATE, "Blessing Date:", "@d2-b")                    \
  F(PRS, STRING, 30, PRAISECATEGORY, "Category:", "@s30")
#define VESP_PRAISES_KEYS(K, KX)                                                 \
  K(PRS, PraiseNumberKey, kUnique | kAutoNumber, PRAISENUMBER)                   \
  K(PRS, PraiseDateKey, kDuplicates, PRAISEDATE, PRAISENUMBER)                   \
  K(PRS, PraiseCategoryKey, kDuplicates, PRAISECATEGORY, PRAISEDATE, PRAISENUMBER)
VESP_TABLE(PRS, Praises, 2, None, VESP_PRAISES_FIELDS, VESP_PRAISES_KEYS)

#define VESP_JOURNAL_FIELDS(F)                                              \
  F(JOU, LONG, 4, JOURNALNUMBER, "Number:", "@n9")                          \
  F(JOU, STRING, 14500, JOURNALENTRY, "Journal Entry:", "@s255")            \
  F(JOU, DATE, 4, JOURNALDATE, "Date:", "@d2-b")                            \
  F(JOU, STRING, 30, JOURNALCATEGORY, "Category:", "@s30")
#define VESP_JOURNAL_KEYS(K, KX)                                                     \
  K(JOU, JournalNumberKey, kUnique | kAutoNumber, JOURNALNUMBER)                     \
  K(JOU, JournalDateKey, kDuplicates, JOURNALDATE, JOURNALNUMBER)                    \
  K(JOU, JournalCategoryKey, kDuplicates, JOURNALCATEGORY, JOURNALDATE, JOURNALNUMBER)
VESP_TABLE(JOU, Journal, 1, None, VESP_JOURNAL_FIELDS, VESP_JOURNAL_KEYS)
