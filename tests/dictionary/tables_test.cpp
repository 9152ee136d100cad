#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "dictionary/dictionary.h"
#include "dictionary/naming.h"
#include "dictionary/relations.h"
#include "runtime/text/record.h"

using namespace vesp;

namespace {

struct Expected {
  const char* prefix;
  unsigned recordLength;
  std::size_t fields, keys;
  const char* autoKey;  // "" for none
  int version;
};

// The dictionary's table of tables, typed here independently of the declarations.
const std::map<std::string, Expected> kExpected = {
    {"Service", {"SER", 282, 30, 3, "SER:ServiceNumberKey", 1}},
    {"SermonSeries", {"SSE", 558, 14, 3, "SSE:SeriesNumberKey", 1}},
    {"ServiceElement", {"SEL", 893, 14, 2, "SEL:ElementNumberKey", 1}},
    {"BibleRef", {"BIB", 86, 8, 2, "BIB:ReferenceNumberKey", 1}},
    {"KeyWords", {"KWD", 39, 3, 2, "KWD:KeyWordNumberKey", 1}},
    {"Statistics", {"STA", 276, 30, 2, "STA:StatisticNumberKey", 1}},
    {"AssociatedFiles", {"ASF", 195, 6, 3, "ASF:AssociatedFilesNumberKey", 1}},
    {"SeriesPublicity", {"SEP", 39, 3, 2, "SEP:PublicityNumberKey", 1}},
    {"Topic", {"TOP", 1106, 3, 2, "TOP:TopicNumberKey", 1}},
    {"Performers", {"PER", 279, 6, 2, "PER:PerformersNumberKey", 1}},
    {"PerformerGroupHeader", {"PGH", 55, 2, 2, "PGH:PerformerGroupHeaderNumberKey", 1}},
    {"PerformerGroupDetail", {"PGD", 146, 7, 2, "PGD:PerformerGroupDetailNumberKey", 1}},
    {"Bibliography", {"BBL", 1299, 24, 2, "BBL:BibliographyNumberKey", 1}},
    {"Role", {"ROL", 25, 2, 2, "ROL:RoleNumberKey", 1}},
    {"ElementType", {"ELT", 35, 2, 2, "ELT:ElementTypeNumberKey", 1}},
    {"Publicity", {"PUL", 35, 2, 2, "PUL:PublicityNumberKey", 1}},
    {"KeyWordsDefault", {"KWF", 35, 2, 2, "KWF:KeyWordDefaultNumberKey", 1}},
    {"StatisticType", {"STT", 35, 2, 2, "STT:StatisticTypeNumberKey", 1}},
    {"BibleDefault", {"BID", 35, 2, 2, "BID:BibleDefaultNumberKey", 1}},
    {"HolidayDefault", {"HOL", 35, 2, 2, "HOL:HolidayDefaultNumberKey", 1}},
    {"SpecialEventDefault", {"SPE", 35, 2, 2, "SPE:SpecialEventDefaultNumberKey", 1}},
    {"WeatherDefault", {"WEA", 35, 2, 2, "WEA:WeatherDefaultNumberKey", 1}},
    {"Lookups", {"LOO", 34, 2, 2, "", 1}},
    {"PrayerRequest", {"PRA", 10072, 8, 5, "PRA:RequestNumberKey", 2}},
    {"Blessings", {"BLE", 5038, 4, 3, "BLE:BlessingNumberKey", 2}},
    {"Praises", {"PRS", 5038, 4, 3, "PRS:PraiseNumberKey", 2}},
    {"Journal", {"JOU", 14538, 4, 3, "JOU:JournalNumberKey", 1}},
};

}  // namespace

TEST(Dictionary, EveryTableMatchesItsDeclaredShape) {
  ASSERT_EQ(dict::tables().size(), kExpected.size());
  for (const auto& t : dict::tables()) {
    SCOPED_TRACE(t.label);
    const auto it = kExpected.find(t.label);
    ASSERT_NE(it, kExpected.end());
    const Expected& e = it->second;
    EXPECT_EQ(t.prefix, e.prefix);
    EXPECT_EQ(t.recordSize, e.recordLength);
    EXPECT_EQ(t.fields.size(), e.fields);
    EXPECT_EQ(t.keys.size(), e.keys);
    EXPECT_EQ(t.version, e.version);
    const int autoKey = t.autoNumberKey();
    EXPECT_EQ(autoKey < 0 ? std::string() : t.keys[static_cast<std::size_t>(autoKey)].label, e.autoKey);

    // Fields follow each other without gaps; overlays stay inside what they lie over.
    std::uint32_t next = 0;
    for (std::size_t i = 0; i < t.fields.size(); ++i) {
      const auto& f = t.fields[i];
      EXPECT_EQ(f.label, t.prefix + ":" + f.name);
      if (f.overlays < 0) {
        EXPECT_EQ(f.offset, next) << f.label;
        next += f.size;
      } else {
        const auto& under = t.fields[static_cast<std::size_t>(f.overlays)];
        EXPECT_GE(f.offset, under.offset) << f.label;
        EXPECT_LE(f.offset + f.size, under.offset + under.size) << f.label;
      }
    }
    EXPECT_EQ(next, t.recordSize);
    for (const auto& k : t.keys) {
      EXPECT_FALSE(k.components.empty()) << k.label;
      EXPECT_TRUE(k.noCase) << k.label;
    }
  }
}

TEST(Dictionary, KeysCarryTheirAttributesAndIndexNames) {
  const auto* lookups = dict::table("Lookups");
  ASSERT_NE(lookups, nullptr);
  EXPECT_EQ(lookups->keys[0].externalName, "ElementTypeNumberKey");
  EXPECT_EQ(lookups->keys[1].externalName, "ElementTypeKey");
  EXPECT_TRUE(lookups->keys[1].unique && lookups->keys[1].primary);
  EXPECT_FALSE(lookups->keys[0].unique);

  const auto* service = dict::table("service");
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(service->keys[0].externalName, "ServiceNumberKey");
  EXPECT_TRUE(service->keys[0].primary);

  // The prayer journal's numbered keys are unique and auto-numbered, but not primary, and unnamed.
  for (const char* label : {"PrayerRequest", "Blessings", "Praises", "Journal"}) {
    const auto* t = dict::table(label);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->keys[0].unique && t->keys[0].autoNumber) << label;
    EXPECT_EQ(t->primaryKey(), -1) << label;
    for (const auto& k : t->keys) EXPECT_EQ(k.externalName, "") << k.label;
  }

  // SermonSeries is the one table whose first key is not the numbered one.
  const auto* series = dict::table("SermonSeries");
  EXPECT_EQ(series->keys[0].label, "SSE:NameKey");
  EXPECT_EQ(series->autoNumberKey(), 1);

  const auto category = dict::findKey("PRA:RequestCategoryAnsweredKey");
  ASSERT_TRUE(category);
  const auto& comps = category->desc().components;
  ASSERT_EQ(comps.size(), 3u);
  EXPECT_EQ(category->table->fields[static_cast<std::size_t>(comps[2])].label, "PRA:REQUEST");
  EXPECT_TRUE(dict::findKey("KWF:KeyWordkey"));
  EXPECT_TRUE(dict::findKey("ser:weekofdatekey"));
  EXPECT_EQ(dict::findKey("SER:WeekOfDateKey")->desc().label, "SER:WeekOfDateKey");
}

TEST(Dictionary, FieldsAreFoundByLabelWhateverTheCase) {
  const auto a = dict::findField("SER:Title");
  const auto b = dict::findField("SER:TITLE");
  const auto c = dict::findField("ser:title");
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->index, b->index);
  EXPECT_EQ(a->index, c->index);
  EXPECT_EQ(a->desc().label, "SER:TITLE");
  EXPECT_EQ(a->desc().prompt, "Title:");
  EXPECT_EQ(dict::findField("PRA:DateStarted")->desc().picture, "@d2-b");
  EXPECT_FALSE(dict::findField("SER:TITL"));
  EXPECT_FALSE(dict::findField("XYZ:TITLE"));
  EXPECT_FALSE(dict::findField("TITLE"));
}

TEST(Dictionary, TypedHandlesPointWhereTheLabelsDo) {
  // Compile-time handles and the run-time schema come from one declaration; check they agree.
  EXPECT_EQ(SER_TITLE.offset, dict::findField("SER:TITLE")->desc().offset);
  EXPECT_EQ(SER_TITLE.size, 76u);
  EXPECT_EQ(SER_WEEKOFDATE_DATE.offset, dict::findField("SER:WEEKOFDATE_DATE")->desc().offset);
  EXPECT_EQ(SER_WEEKOFDATE_TIME.offset, SER_WEEKOFDATE.offset + 4);
  EXPECT_EQ(SER_LASTUPDATED_TIME.offset + 4, dict::table("Service")->recordSize);
  EXPECT_EQ(STA_OTHEROFFERING5.offset + 10, dict::table("Statistics")->recordSize);
  EXPECT_EQ(PRA_REQUESTCATEGORY.offset, 10042u);
  EXPECT_EQ(PGD_LEADER.offset, 145u);
  EXPECT_EQ(SSE_SeriesNumberKey.index, 1);
  EXPECT_EQ(PRA_RequestCategoryAnsweredKey.index, 4);
  EXPECT_EQ(&dict::schemaOf(tables::Journal), dict::table("Journal"));
}

TEST(Dictionary, WritingTheDateMemberLeavesTheTimeAlone) {
  const auto& schema = dict::schemaOf(tables::Service);
  vrt::RecordBuffer rec(schema.recordSize);
  rec.clearAll(schema.fields);
  EXPECT_EQ(rec.get(SER_WEEKOFDATE_DATE), 0);  // no blanks leak into a date-time field
  rec.set(SER_WEEKOFDATE_TIME, vrt::timeFromHms(10, 30));
  rec.set(SER_WEEKOFDATE_DATE, vrt::dateFromYmd(2026, 12, 13));
  EXPECT_EQ(rec.get(SER_WEEKOFDATE_TIME), vrt::timeFromHms(10, 30));
  rec.set(SER_WEEKOFDATE_DATE, vrt::dateFromYmd(2027, 1, 3));
  EXPECT_EQ(rec.get(SER_WEEKOFDATE_TIME), vrt::timeFromHms(10, 30));
  EXPECT_EQ(rec.get(SER_WEEKOFDATE_DATE), vrt::dateFromYmd(2027, 1, 3));
  // The neighbours on either side are untouched too.
  rec.set(SER_SERMONSERIES, 7);
  rec.set(SER_SPEAKER, 9);
  rec.set(SER_WEEKOFDATE_DATE, vrt::dateFromYmd(2030, 5, 5));
  EXPECT_EQ(rec.get(SER_SERMONSERIES), 7);
  EXPECT_EQ(rec.get(SER_SPEAKER), 9);
  // Through the label the same bytes are reached.
  const auto& date = dict::findField("SER:WeekOfDate_Date")->desc();
  EXPECT_EQ(rec.number(date), vrt::dateFromYmd(2030, 5, 5));
}

TEST(Dictionary, RelationsNameRealTablesFieldsAndKeys) {
  const auto rels = dict::relations();
  ASSERT_EQ(rels.size(), 8u);
  EXPECT_STREQ(rels[0].child, "ServiceElement");
  EXPECT_STREQ(rels[1].child, "BibleRef");
  // Every row that exists only for its owner is related to it.
  for (const char* owned : {"KeyWords", "Statistics", "AssociatedFiles", "SeriesPublicity", "PerformerGroupDetail"})
    EXPECT_TRUE(std::any_of(rels.begin(), rels.end(), [owned](const auto& r) { return std::string(r.child) == owned; }))
        << owned;
  for (const auto& r : rels) {
    SCOPED_TRACE(r.child);
    const auto* parent = dict::table(r.parent);
    const auto* child = dict::table(r.child);
    ASSERT_TRUE(parent && child);
    EXPECT_EQ(r.onChange, dict::RIMode::Cascade);
    EXPECT_EQ(r.onDelete, dict::RIMode::Cascade);
    const auto key = dict::findKey(r.childKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->table, child);
    ASSERT_EQ(r.links.size(), 1u);
    const auto pf = dict::findField(r.links[0].parentField);
    const auto cf = dict::findField(r.links[0].childField);
    ASSERT_TRUE(pf && cf);
    EXPECT_EQ(pf->table, parent);
    EXPECT_EQ(cf->table, child);
    // The child key leads with the linking field.
    EXPECT_EQ(key->desc().components[0], cf->index);
    EXPECT_TRUE(r.parentNoun && *r.parentNoun && r.childNoun && *r.childNoun);
  }
}

TEST(Dictionary, WhatNamesARecordNamesRealTablesAndFieldsOfTheSameKind) {
  ASSERT_FALSE(dict::namedRecords().empty());
  for (const auto& n : dict::namedRecords()) {
    SCOPED_TRACE(n.table);
    const auto* named = dict::table(n.table);
    ASSERT_TRUE(named);
    EXPECT_EQ(dict::namedRecord(n.table), &n);
    const auto value = dict::findField(n.value);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->table, named);
    for (const char* label : n.name) EXPECT_TRUE(dict::findField(label)) << label;
    const bool text = value->desc().type == vrt::FieldType::CString || value->desc().type == vrt::FieldType::String;
    for (const auto& by : n.namedBy) {
      const auto* naming = dict::table(by.table);
      ASSERT_TRUE(naming) << by.table;
      for (const char* label : by.fields) {
        const auto f = dict::findField(label);
        ASSERT_TRUE(f) << label;
        EXPECT_EQ(f->table, naming) << label;
        const bool fieldText = f->desc().type == vrt::FieldType::CString || f->desc().type == vrt::FieldType::String;
        EXPECT_EQ(fieldText, text) << label;
      }
      if (by.countedBy) {
        EXPECT_TRUE(dict::findField(by.countedBy)) << by.countedBy;
      }
    }
  }
  EXPECT_EQ(dict::namedRecord("performers"), dict::namedRecord("Performers"));
  EXPECT_EQ(dict::namedRecord("Service"), nullptr);
}
