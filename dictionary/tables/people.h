#pragma once
// People and material: performers, performer groups and the bibliography.
#include "dictionary/declare.h"

#define VESP_PERFORMERS_FIELDS(F)                                           \
  F(PER, LONG, 4, PERFORMERSNUMBER, "", "@n-14")                            \
  F(PER, CSTRING, 51, FIRSTNAME, "First Name:", "@s50")                     \
  F(PER, CSTRING, 51, LASTNAME, "Last Name:", "@s50")                       \
  F(PER, CSTRING, 51, TITLE, "Title:", "@s50")                              \
  F(PER, CSTRING, 21, ROLE, "Role:", "@s20")                                \
  F(PER, CSTRING, 101, EMAIL, "Email:", "@s100")
#define VESP_PERFORMERS_KEYS(K, KX)                                               \
  K(PER, PerformersNumberKey, kUnique | kPrimary | kAutoNumber, PERFORMERSNUMBER) \
  K(PER, LastNameKey, kDuplicates, LASTNAME, FIRSTNAME, PERFORMERSNUMBER)
VESP_TABLE(PER, Performers, 1, FromKeyNames, VESP_PERFORMERS_FIELDS, VESP_PERFORMERS_KEYS)

#define VESP_PERFORMERGROUPHEADER_FIELDS(F)                                 \
  F(PGH, LONG, 4, PERFORMERGROUPNUMBER, "", "@n-14")                        \
  F(PGH, CSTRING, 51, DESCRIPTION, "Description:", "@s50")
#define VESP_PERFORMERGROUPHEADER_KEYS(K, KX)                                                   \
  K(PGH, PerformerGroupHeaderNumberKey, kUnique | kPrimary | kAutoNumber, PERFORMERGROUPNUMBER) \
  K(PGH, DescriptionKey, kDuplicates, DESCRIPTION)
VESP_TABLE(PGH, PerformerGroupHeader, 1, FromKeyNames, VESP_PERFORMERGROUPHEADER_FIELDS,
           VESP_PERFORMERGROUPHEADER_KEYS)

#define VESP_PERFORMERGROUPDETAIL_FIELDS(F)                                 \
  F(PGD, LONG, 4, PERFORMERGROUPNUMBER, "", "@n-14")                        \
  F(PGD, LONG, 4, PERFORMERGROUPDETAILNUMBER, "", "@n-14")                  \
  F(PGD, LONG, 4, PERFORMERNUMBER, "", "@n-14")                             \
  F(PGD, CSTRING, 51, FIRSTNAME, "First Name:", "@s50")                     \
  F(PGD, CSTRING, 51, LASTNAME, "Last Name:", "@s50")                       \
  F(PGD, CSTRING, 31, ROLE, "Role:", "@s30")                                \
  F(PGD, BYTE, 1, LEADER, "Leader", "@n3")
#define VESP_PERFORMERGROUPDETAIL_KEYS(K, KX)                                                         \
  K(PGD, PerformerGroupDetailNumberKey, kUnique | kPrimary | kAutoNumber, PERFORMERGROUPDETAILNUMBER) \
  K(PGD, PerformerGroupKey, kDuplicates, PERFORMERGROUPNUMBER, LASTNAME, FIRSTNAME)
VESP_TABLE(PGD, PerformerGroupDetail, 1, FromKeyNames, VESP_PERFORMERGROUPDETAIL_FIELDS,
           VESP_PERFORMERGROUPDETAIL_KEYS)

#define VESP_BIBLIOGRAPHY_FIELDS(F)                                         \
  F(BBL, LONG, 4, BIBLIOGRAPHYNUMBER, "Bibliography #:", "@n-7")            \
  F(BBL, CSTRING, 51, TITLE, "Title:", "@s50")                              \
  F(BBL, CSTRING, 501, DESCRIPTION, "Description:", "@s500")                \
  F(BBL, CSTRING, 51, WRITTENBY, "Written By:", "@s50")                     \
  F(BBL, CSTRING, 51, MUSICBY, "Music By:", "@s50")                         \
  F(BBL, CSTRING, 11, DURATION, "Duration:", "@s10")                        \
  F(BBL, CSTRING, 51, PUBLISHER, "Publisher:", "@s50")                      \
  F(BBL, CSTRING, 5, PUBLISHEDYEAR, "Published Year:", "@s4")               \
  F(BBL, CSTRING, 51, PUBLISHERCITY, "City:", "@s50")                       \
  F(BBL, CSTRING, 51, PUBLISHERSTATE, "State:", "@s50")                     \
  F(BBL, CSTRING, 51, PUBLISHERCOUNTRY, "Publisher Country:", "@s50")       \
  F(BBL, CSTRING, 51, CCLI, "CCLI:", "@s50")                                \
  F(BBL, CSTRING, 51, ISBN, "ISBN:", "@s50")                                \
  F(BBL, CSTRING, 101, WORDS, "Words:", "@s100")                            \
  F(BBL, CSTRING, 101, MUSIC, "Music:", "@s100")                            \
  F(BBL, CSTRING, 101, VIDEO, "Video:", "@s100")                            \
  F(BBL, DATETIME, 8, FIRSTUSED, "First Used:", "@d17")                     \
  F(BBL, DATETIME, 8, LASTUSED, "Last Used:", "@d17")
#define VESP_BIBLIOGRAPHY_KEYS(K, KX)                                                 \
  K(BBL, BibliographyNumberKey, kUnique | kPrimary | kAutoNumber, BIBLIOGRAPHYNUMBER) \
  K(BBL, TitleKey, kDuplicates, TITLE)
VESP_TABLE(BBL, Bibliography, 1, FromKeyNames, VESP_BIBLIOGRAPHY_FIELDS, VESP_BIBLIOGRAPHY_KEYS)
