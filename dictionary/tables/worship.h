#pragma once
// Worship planning: services, sermon series and what hangs off a service.
#include "dictionary/declare.h"

#define VESP_SERVICE_FIELDS(F)                                              \
  F(SER, LONG, 4, SERVICENUMBER, "", "@n-14")                               \
  F(SER, CSTRING, 76, TITLE, "Title:", "@s75")                              \
  F(SER, LONG, 4, SERMONSERIES, "Sermon Series:", "@n-14")                  \
  F(SER, DATETIME, 8, WEEKOFDATE, "Week Of Date:", "@d17b")                 \
  F(SER, LONG, 4, SPEAKER, "Speaker:", "@n-14")                             \
  F(SER, LONG, 4, WORSHIPLEADER, "Worship Leader:", "@n-14")                \
  F(SER, LONG, 4, SOUNDTECH, "Sound Engineer:", "@n-14")                    \
  F(SER, LONG, 4, PRODUCER, "Producer:", "@n-14")                           \
  F(SER, LONG, 4, VIDEOTECH, "Video Tech:", "@n-14")                        \
  F(SER, LONG, 4, LIGHTTECH, "Light Tech:", "@n-14")                        \
  F(SER, LONG, 4, COMPUTERTECH, "Computer Tech:", "@n-14")                  \
  F(SER, LONG, 4, KEYPASSAGES, "", "@n-14")                                 \
  F(SER, CSTRING, 101, FLYER, "Flyer:", "@s100")                            \
  F(SER, CSTRING, 21, TAPENUMBER, "Tape Number:", "@s20")                   \
  F(SER, LONG, 4, TOPIC1, "Topic 1:", "@n-14")                              \
  F(SER, LONG, 4, TOPIC2, "Topic 2:", "@n-14")                              \
  F(SER, LONG, 4, TOPIC3, "Topic 3:", "@n-14")                              \
  F(SER, LONG, 4, EMPCREATED, "Employee Created:", "@n-14")                 \
  F(SER, LONG, 4, EMPLASTUPDATED, "Employee Last Updated:", "@n-14")        \
  F(SER, DATETIME, 8, DATECREATED, "Date Created:", "@d17b")                \
  F(SER, DATETIME, 8, LASTUPDATED, "Last Updated:", "@d17b")
#define VESP_SERVICE_KEYS(K, KX)                                        \
  K(SER, ServiceNumberKey, kUnique | kPrimary | kAutoNumber, SERVICENUMBER) \
  K(SER, WeekOfDateKey, kDuplicates, WEEKOFDATE_DATE)                   \
  K(SER, TitleKey, kDuplicates, TITLE)
VESP_TABLE(SER, Service, 1, FromKeyNames, VESP_SERVICE_FIELDS, VESP_SERVICE_KEYS)

#define VESP_SERMONSERIES_FIELDS(F)                                         \
  F(SSE, LONG, 4, SERIESNUMBER, "", "@n-14")                                \
  F(SSE, CSTRING, 76, NAME, "Name:", "@s75")                                \
  F(SSE, CSTRING, 256, DESCRIPTION, "Description:", "@s255")                \
  F(SSE, DATETIME, 8, STARTDATE, "Start Date:", "@d17")                     \
  F(SSE, DATETIME, 8, ENDDATE, "End Date:", "@d17")                         \
  F(SSE, LONG, 4, TOPIC, "Topic:", "@n-14")                                 \
  F(SSE, CSTRING, 101, POSTERIMAGE, "Poster Image:", "@s100")               \
  F(SSE, CSTRING, 101, WEBGRAPHIC, "Web Graphic:", "@s100")
// The only table whose first key is not its numbered key.
#define VESP_SERMONSERIES_KEYS(K, KX)                                     \
  K(SSE, NameKey, kDuplicates, NAME)                                      \
  K(SSE, SeriesNumberKey, kUnique | kPrimary | kAutoNumber, SERIESNUMBER) \
  K(SSE, StartDateKey, kDuplicates, STARTDATE_DATE)
VESP_TABLE(SSE, SermonSeries, 1, FromKeyNames, VESP_SERMONSERIES_FIELDS, VESP_SERMONSERIES_KEYS)

#define VESP_SERVICEELEMENT_FIELDS(F)                                       \
  F(SEL, LONG, 4, ELEMENTNUMBER, "", "@n-14")                               \
  F(SEL, LONG, 4, SERVICENUMBER, "", "@n-14")                               \
  F(SEL, LONG, 4, BIBLIOGRAPHYNUMBER, "Bibliography #:", "@n-14")           \
  F(SEL, CSTRING, 51, TITLE, "Title:", "@s50")                              \
  F(SEL, CSTRING, 31, TYPE, "Type:", "@s30")                                \
  F(SEL, CSTRING, 11, DURATION, "Duration:", "@s10")                        \
  F(SEL, CSTRING, 2, PRESERVICE, "Pre Service Y/N:", "@s1")                 \
  F(SEL, LONG, 4, PERFORMER, "Performer:", "@n-14")                         \
  F(SEL, LONG, 4, PERFORMERGROUP, "Performer Group:", "@n-14")              \
  F(SEL, LONG, 4, ELEMENTORDER, "Element Order:", "@n-14")                  \
  F(SEL, CSTRING, 31, TEMPO, "Tempo:", "@s30")                              \
  F(SEL, CSTRING, 121, LIGHTS, "Lights:", "@s120")                          \
  F(SEL, CSTRING, 121, SOUND, "Instrumentation:", "@s120")                  \
  F(SEL, CSTRING, 501, ELEMENTNOTES, "Element Notes:", "@s500")
#define VESP_SERVICEELEMENT_KEYS(K, KX)                                       \
  K(SEL, ElementNumberKey, kUnique | kPrimary | kAutoNumber, ELEMENTNUMBER)   \
  K(SEL, ServiceElementKey, kDuplicates, SERVICENUMBER, ELEMENTORDER)
VESP_TABLE(SEL, ServiceElement, 1, FromKeyNames, VESP_SERVICEELEMENT_FIELDS, VESP_SERVICEELEMENT_KEYS)

#define VESP_BIBLEREF_FIELDS(F)                                             \
  F(BIB, LONG, 4, REFERENCENUMBER, "", "@n-14")                             \
  F(BIB, LONG, 4, SERVICENUMBER, "", "@n-14")                               \
  F(BIB, CSTRING, 31, BIBLEVERSION, "Bible Version:", "@s30")               \
  F(BIB, CSTRING, 31, BOOK, "Book:", "@s30")                                \
  F(BIB, LONG, 4, STARTCHAPTER, "Start Chapter:", "@n-14")                  \
  F(BIB, LONG, 4, STARTVERSE, "Start Verse:", "@n-14")                      \
  F(BIB, LONG, 4, ENDCHAPTER, "End Chapter:", "@n-14")                      \
  F(BIB, LONG, 4, ENDVERSE, "End Verse:", "@n-14")
#define VESP_BIBLEREF_KEYS(K, KX)                                               \
  K(BIB, ReferenceNumberKey, kUnique | kPrimary | kAutoNumber, REFERENCENUMBER) \
  K(BIB, ServiceRefKey, kDuplicates, SERVICENUMBER, REFERENCENUMBER)
VESP_TABLE(BIB, BibleRef, 1, FromKeyNames, VESP_BIBLEREF_FIELDS, VESP_BIBLEREF_KEYS)

#define VESP_KEYWORDS_FIELDS(F)                                             \
  F(KWD, LONG, 4, KEYWORDNUMBER, "", "@n-14")                               \
  F(KWD, LONG, 4, SERVICENUMBER, "", "@n-14")                               \
  F(KWD, CSTRING, 31, KEYWORD, "Key Word:", "@s30")
#define VESP_KEYWORDS_KEYS(K, KX)                                             \
  K(KWD, KeyWordNumberKey, kUnique | kPrimary | kAutoNumber, KEYWORDNUMBER)   \
  K(KWD, ServiceNumberKey, kDuplicates, SERVICENUMBER, KEYWORD)
VESP_TABLE(KWD, KeyWords, 1, FromKeyNames, VESP_KEYWORDS_FIELDS, VESP_KEYWORDS_KEYS)

#define VESP_STATISTICS_FIELDS(F)                                           \
  F(STA, LONG, 4, STATISTICNUMBER, "", "@n-14")                             \
  F(STA, LONG, 4, SERVICENUMBER, "", "@n-14")                               \
  F(STA, CSTRING, 31, TYPE, "Type:", "@s30")                                \
  F(STA, DECIMAL, 10, OFFERING, "Offering:", "@n-12.2")                     \
  F(STA, DECIMAL, 10, BUDGETNEED, "Budget Need:", "@n-12.2")                \
  F(STA, DECIMAL, 10, SPECIALOFFERING, "Special Offering:", "@n-12.2")      \
  F(STA, LONG, 4, ADULT, "Adult:", "@n-14")                                 \
  F(STA, LONG, 4, ADULTGUESTS, "Adult Guests:", "@n-14")                    \
  F(STA, LONG, 4, YOUTH, "Youth:", "@n-14")                                 \
  F(STA, LONG, 4, YOUTHGUESTS, "Youth Guests:", "@n-14")                    \
  F(STA, LONG, 4, CHILDREN, "Children:", "@n-14")                           \
  F(STA, LONG, 4, CHILDRENGUESTS, "Children Guests:", "@n-14")              \
  F(STA, LONG, 4, SAVED, "Saved:", "@n-14")                                 \
  F(STA, LONG, 4, BAPTIZED, "Baptized:", "@n-14")                           \
  F(STA, LONG, 4, PRAYEDFOR, "Prayed For:", "@n-14")                        \
  F(STA, LONG, 4, OTHERRESPONSES, "Other Responses:", "@n-14")              \
  F(STA, LONG, 4, JOINED, "Joined:", "@n-14")                               \
  F(STA, CSTRING, 31, WEATHER, "Weather:", "@s30")                          \
  F(STA, CSTRING, 31, HOLIDAY, "Holiday:", "@s30")                          \
  F(STA, CSTRING, 31, SPECIALEVENT, "Special Event:", "@s30")               \
  F(STA, LONG, 4, OTHERSTAT1, "Other Statistic 1:", "@n-14")                \
  F(STA, LONG, 4, OTHERSTAT2, "Other Statistic 2:", "@n-14")                \
  F(STA, LONG, 4, OTHERSTAT3, "Other Statistic 3:", "@n-14")                \
  F(STA, LONG, 4, OTHERSTAT4, "Other Statistic 4:", "@n-14")                \
  F(STA, LONG, 4, OTHERSTAT5, "Other Statistic 5:", "@n-14")                \
  F(STA, DECIMAL, 10, OTHEROFFERING1, "Other Offering 1:", "@n-12.2")       \
  F(STA, DECIMAL, 10, OTHEROFFERING2, "Other Offering 2:", "@n-12.2")       \
  F(STA, DECIMAL, 10, OTHEROFFERING3, "Other Offering 3:", "@n-12.2")       \
  F(STA, DECIMAL, 10, OTHEROFFERING4, "Other Offering 4:", "@n-12.2")       \
  F(STA, DECIMAL, 10, OTHEROFFERING5, "Other Offering 5:", "@n-12.2")
#define VESP_STATISTICS_KEYS(K, KX)                                               \
  K(STA, StatisticNumberKey, kUnique | kPrimary | kAutoNumber, STATISTICNUMBER)   \
  K(STA, ServiceNumberKey, kDuplicates, SERVICENUMBER, TYPE)
VESP_TABLE(STA, Statistics, 1, FromKeyNames, VESP_STATISTICS_FIELDS, VESP_STATISTICS_KEYS)

#define VESP_ASSOCIATEDFILES_FIELDS(F)                                      \
  F(ASF, LONG, 4, ASSOCIATEDFILESNUMBER, "", "@n-14")                       \
  F(ASF, LONG, 4, ELEMENTNUMBER, "", "@n-14")                               \
  F(ASF, LONG, 4, SERVICENUMBER, "", "@n-14")                               \
  F(ASF, CSTRING, 31, TYPE, "Type:", "@s30")                                \
  F(ASF, CSTRING, 51, DESCRIPTION, "Description:", "@s50")                  \
  F(ASF, CSTRING, 101, FILELOCATION, "File Location:", "@s100")
#define VESP_ASSOCIATEDFILES_KEYS(K, KX)                                                    \
  K(ASF, AssociatedFilesNumberKey, kUnique | kPrimary | kAutoNumber, ASSOCIATEDFILESNUMBER)  \
  K(ASF, ElementNumberKey, kDuplicates, ELEMENTNUMBER, ASSOCIATEDFILESNUMBER)               \
  K(ASF, ServiceNumberKey, kDuplicates, SERVICENUMBER)
VESP_TABLE(ASF, AssociatedFiles, 1, FromKeyNames, VESP_ASSOCIATEDFILES_FIELDS, VESP_ASSOCIATEDFILES_KEYS)

#define VESP_SERIESPUBLICITY_FIELDS(F)                                      \
  F(SEP, LONG, 4, PUBLICITYNUMBER, "", "@n-14")                             \
  F(SEP, LONG, 4, SERIESNUMBER, "", "@n-14")                                \
  F(SEP, CSTRING, 31, PUBLICITYDESCRIPTION, "Publicity Description:", "@s30")
#define VESP_SERIESPUBLICITY_KEYS(K, KX)                                        \
  K(SEP, PublicityNumberKey, kUnique | kPrimary | kAutoNumber, PUBLICITYNUMBER) \
  K(SEP, SeriesNumberKey, kDuplicates, SERIESNUMBER, PUBLICITYDESCRIPTION)
VESP_TABLE(SEP, SeriesPublicity, 1, FromKeyNames, VESP_SERIESPUBLICITY_FIELDS, VESP_SERIESPUBLICITY_KEYS)

#define VESP_TOPIC_FIELDS(F)                                                \
  F(TOP, LONG, 4, TOPICNUMBER, "", "@n-14")                                 \
  F(TOP, CSTRING, 101, TOPIC, "Topic:", "@s100")                            \
  F(TOP, CSTRING, 1001, SYNONYMS, "Synonyms:", "@s255")
#define VESP_TOPIC_KEYS(K, KX)                                          \
  K(TOP, TopicNumberKey, kUnique | kPrimary | kAutoNumber, TOPICNUMBER) \
  K(TOP, TopicKey, kDuplicates, TOPIC)
VESP_TABLE(TOP, Topic, 1, FromKeyNames, VESP_TOPIC_FIELDS, VESP_TOPIC_KEYS)
