#pragma once
// Short pick lists (one numbered text each) and the prayer journal's category list.
// Records that use a pick list hold the text itself, not the list's number.
#include "dictionary/declare.h"

#define VESP_ROLE_FIELDS(F) F(ROL, LONG, 4, ROLENUMBER, "", "@n-14") F(ROL, CSTRING, 21, ROLE, "Role:", "@s20")
#define VESP_ROLE_KEYS(K, KX) K(ROL, RoleNumberKey, kUnique | kPrimary | kAutoNumber, ROLENUMBER) K(ROL, RoleKey, kDuplicates, ROLE)
VESP_TABLE(ROL, Role, 1, FromKeyNames, VESP_ROLE_FIELDS, VESP_ROLE_KEYS)

#define VESP_ELEMENTTYPE_FIELDS(F) F(ELT, LONG, 4, ELEMENTTYPENUMBER, "", "@n-14") F(ELT, CSTRING, 31, ELEMENTTYPE, "Element Type:", "@s30")
#define VESP_ELEMENTTYPE_KEYS(K, KX) K(ELT, ElementTypeNumberKey, kUnique | kPrimary | kAutoNumber, ELEMENTTYPENUMBER) K(ELT, ElementTypeKey, kDuplicates, ELEMENTTYPE)
VESP_TABLE(ELT, ElementType, 1, FromKeyNames, VESP_ELEMENTTYPE_FIELDS, VESP_ELEMENTTYPE_KEYS)

#define VESP_PUBLICITY_FIELDS(F) F(PUL, LONG, 4, PUBLICITYNUMBER, "", "@n-14") F(PUL, CSTRING, 31, PUBLICITYDESCRIPTION, "Description:", "@s30")
#define VESP_PUBLICITY_KEYS(K, KX) K(PUL, PublicityNumberKey, kUnique | kPrimary | kAutoNumber, PUBLICITYNUMBER) K(PUL, PublicityKey, kDuplicates, PUBLICITYDESCRIPTION)
VESP_TABLE(PUL, Publicity, 1, FromKeyNames, VESP_PUBLICITY_FIELDS, VESP_PUBLICITY_KEYS)

#define VESP_KEYWORDSDEFAULT_FIELDS(F) F(KWF, LONG, 4, KEYWORDDEFAULTNUMBER, "", "@n-14") F(KWF, CSTRING, 31, KEYWORD, "Key Word:", "@s30")
#define VESP_KEYWORDSDEFAULT_KEYS(K, KX) K(KWF, KeyWordDefaultNumberKey, kUnique | kPrimary | kAutoNumber, KEYWORDDEFAULTNUMBER) K(KWF, KeyWordkey, kDuplicates, KEYWORD)
VESP_TABLE(KWF, KeyWordsDefault, 1, FromKeyNames, VESP_KEYWORDSDEFAULT_FIELDS, VESP_KEYWORDSDEFAULT_KEYS)

#define VESP_STATISTICTYPE_FIELDS(F) F(STT, LONG, 4, STATISTICTYPENUMBER, "", "@n-14") F(STT, CSTRING, 31, STATISTICTYPE, "Statistic Type:", "@s30")
#define VESP_STATISTICTYPE_KEYS(K, KX) K(STT, StatisticTypeNumberKey, kUnique | kPrimary | kAutoNumber, STATISTICTYPENUMBER) K(STT, StatisticTypeKey, kDuplicates, STATISTICTYPE)
VESP_TABLE(STT, StatisticType, 1, FromKeyNames, VESP_STATISTICTYPE_FIELDS, VESP_STATISTICTYPE_KEYS)

#define VESP_BIBLEDEFAULT_FIELDS(F) F(BID, LONG, 4, BIBLEDEFAULTNUMBER, "", "@n-14") F(BID, CSTRING, 31, BIBLE, "Bible:", "@s30")
#define VESP_BIBLEDEFAULT_KEYS(K, KX) K(BID, BibleDefaultNumberKey, kUnique | kPrimary | kAutoNumber, BIBLEDEFAULTNUMBER) K(BID, BibleKey, kDuplicates, BIBLE)
VESP_TABLE(BID, BibleDefault, 1, FromKeyNames, VESP_BIBLEDEFAULT_FIELDS, VESP_BIBLEDEFAULT_KEYS)

#define VESP_HOLIDAYDEFAULT_FIELDS(F) F(HOL, LONG, 4, HOLIDAYDEFAULTNUMBER, "", "@n-14") F(HOL, CSTRING, 31, HOLIDAY, "Holiday:", "@s30")
#define VESP_HOLIDAYDEFAULT_KEYS(K, KX) K(HOL, HolidayDefaultNumberKey, kUnique | kPrimary | kAutoNumber, HOLIDAYDEFAULTNUMBER) K(HOL, HolidayKey, kDuplicates, HOLIDAY)
VESP_TABLE(HOL, HolidayDefault, 1, FromKeyNames, VESP_HOLIDAYDEFAULT_FIELDS, VESP_HOLIDAYDEFAULT_KEYS)

#define VESP_SPECIALEVENTDEFAULT_FIELDS(F) F(SPE, LONG, 4, SPECIALEVENTDEFAULTNUMBER, "", "@n-14") F(SPE, CSTRING, 31, SPECIALEVENT, "Special Event:", "@s30")
#define VESP_SPECIALEVENTDEFAULT_KEYS(K, KX) K(SPE, SpecialEventDefaultNumberKey, kUnique | kPrimary | kAutoNumber, SPECIALEVENTDEFAULTNUMBER) K(SPE, SpecialEventKey, kDuplicates, SPECIALEVENT)
VESP_TABLE(SPE, SpecialEventDefault, 1, FromKeyNames, VESP_SPECIALEVENTDEFAULT_FIELDS, VESP_SPECIALEVENTDEFAULT_KEYS)

#define VESP_WEATHERDEFAULT_FIELDS(F) F(WEA, LONG, 4, WEATHERDEFAULTNUMBER, "", "@n-14") F(WEA, CSTRING, 31, WEATHER, "Weather:", "@s30")
#define VESP_WEATHERDEFAULT_KEYS(K, KX) K(WEA, WeatherDefaultNumberKey, kUnique | kPrimary | kAutoNumber, WEATHERDEFAULTNUMBER) K(WEA, WeatherKey, kDuplicates, WEATHER)
VESP_TABLE(WEA, WeatherDefault, 1, FromKeyNames, VESP_WEATHERDEFAULT_FIELDS, VESP_WEATHERDEFAULT_KEYS)

// No key is auto-numbered; a category text is unique within its list. The two keys carry
// index names of their own inside the data file.
#define VESP_LOOKUPS_FIELDS(F) F(LOO, LONG, 4, LOOKUPNUMBER, "", "@n-14") F(LOO, STRING, 30, LOOKUPTYPE, "Category:", "@s30")
#define VESP_LOOKUPS_KEYS(K, KX)                                                   \
  KX(LOO, LookupNumberKey, kDuplicates, "ElementTypeNumberKey", LOOKUPNUMBER)      \
  KX(LOO, LookupTypeKey, kUnique | kPrimary, "ElementTypeKey", LOOKUPNUMBER, LOOKUPTYPE)
VESP_TABLE(LOO, Lookups, 1, FromKeyNames, VESP_LOOKUPS_FIELDS, VESP_LOOKUPS_KEYS)
