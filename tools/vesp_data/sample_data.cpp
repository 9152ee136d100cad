#include "tools/vesp_data/sample_data.h"

#include <chrono>
#include <functional>
#include <sstream>
#include <string>

#include "dictionary/dictionary.h"
#include "runtime/text/dates.h"
#include "tools/vesp_data/commands.h"
#include "tools/vesp_data/open_table.h"
#include "tools/vesp_data/progress.h"
#include "tools/vesp_data/sample_words.h"
#include "tools/vesp_data/song_use_check.h"

namespace vesp::tools {

namespace {

using vrt::RecordRef;
using words::W;

// A small generator of our own: the standard distributions differ between libraries,
// and the sample data must not.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  int between(int lo, int hi) { return lo + below(hi - lo + 1); }
  bool percent(int p) { return below(100) < p; }
  template <typename A>
  W pick(const A& a) {
    return a[static_cast<std::size_t>(below(static_cast<int>(a.size())))];
  }

 private:
  std::uint64_t state_;
};

std::string s(W w) { return std::string(w); }

std::string lowerName(W w) {
  std::string out(w);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

const vrt::DayNumber kFirstDay = vrt::dateFromYmd(2015, 1, 1);
const vrt::DayNumber kLastDay = vrt::dateFromYmd(2026, 11, 30);

// Writes `count` records into one table inside one batch, unless it holds records already.
class TableWriter {
 public:
  TableWriter(const vrt::TableSchema& schema, std::ostream& out, std::ostream& err) : out_(out), err_(err) {
    file_ = openTable(schema, err, true);
  }

  int fill(std::int64_t count, const std::function<void(RecordRef&, std::int64_t)>& make) {
    if (!file_) return 1;
    const auto& schema = file_->schema();
    if (file_->records() > 0) {
      out_ << schema.label << ": holds records already, left as it is\n";
      return 0;
    }
    const auto start = std::chrono::steady_clock::now();
    Progress progress(schema.label, count);
    if (!file_->stream()) return failed();
    for (std::int64_t i = 1; i <= count; ++i) {
      file_->buffer().clearAll(schema.fields);
      make(file_->buffer(), i);
      if (!file_->add()) return failed();
      if (i % 1024 == 0) progress.advance(1024);
    }
    if (!file_->flush()) return failed();
    progress.finish();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out_ << schema.label << ": " << count << " records";
    if (count >= 10000) out_ << " in " << seconds << " s (" << static_cast<long long>(count / seconds) << " per second)";
    out_ << "\n";
    return 0;
  }

 private:
  int failed() {
    err_ << "vesp-data: writing " << file_->path() << " failed: " << describeError() << "\n";
    return 1;
  }
  std::ostream& out_;
  std::ostream& err_;
  std::unique_ptr<vrt::DataFile> file_;
};

template <typename A>
int writeList(const vrt::TableSchema& schema, const A& items, vrt::LongField number, vrt::CStringField text,
              std::ostream& out, std::ostream& err) {
  return TableWriter(schema, out, err).fill(static_cast<std::int64_t>(items.size()), [&](RecordRef& r, std::int64_t i) {
    r.set(number, static_cast<std::int32_t>(i));
    r.set(text, items[static_cast<std::size_t>(i - 1)]);
  });
}

int writePickLists(std::ostream& out, std::ostream& err) {
  using namespace words;
  const auto& S = dict::schemaOf;
  int rc = 0;
  rc |= writeList(S(tables::Role), kRoles, ROL_ROLENUMBER, ROL_ROLE, out, err);
  rc |= writeList(S(tables::ElementType), kElementTypes, ELT_ELEMENTTYPENUMBER, ELT_ELEMENTTYPE, out, err);
  rc |= writeList(S(tables::Publicity), kPublicity, PUL_PUBLICITYNUMBER, PUL_PUBLICITYDESCRIPTION, out, err);
  rc |= writeList(S(tables::KeyWordsDefault), kKeyWords, KWF_KEYWORDDEFAULTNUMBER, KWF_KEYWORD, out, err);
  rc |= writeList(S(tables::StatisticType), kStatisticTypes, STT_STATISTICTYPENUMBER, STT_STATISTICTYPE, out, err);
  rc |= writeList(S(tables::BibleDefault), kBibles, BID_BIBLEDEFAULTNUMBER, BID_BIBLE, out, err);
  rc |= writeList(S(tables::HolidayDefault), kHolidays, HOL_HOLIDAYDEFAULTNUMBER, HOL_HOLIDAY, out, err);
  rc |= writeList(S(tables::SpecialEventDefault), kSpecialEvents, SPE_SPECIALEVENTDEFAULTNUMBER, SPE_SPECIALEVENT,
                  out, err);
  rc |= writeList(S(tables::WeatherDefault), kWeather, WEA_WEATHERDEFAULTNUMBER, WEA_WEATHER, out, err);
  // The prayer journal's categories: list 1 for requests, blessings and praises, list 2 for the journal.
  const std::int64_t prayer = static_cast<std::int64_t>(kPrayerCategories.size());
  rc |= TableWriter(S(tables::Lookups), out, err)
            .fill(prayer + static_cast<std::int64_t>(kJournalCategories.size()), [&](RecordRef& r, std::int64_t i) {
              const bool first = i <= prayer;
              r.set(LOO_LOOKUPNUMBER, first ? 1 : 2);
              r.set(LOO_LOOKUPTYPE, first ? kPrayerCategories[static_cast<std::size_t>(i - 1)]
                                          : kJournalCategories[static_cast<std::size_t>(i - 1 - prayer)]);
            });
  return rc;
}

std::string personName(std::int64_t i) {
  return s(words::kFirstNames[static_cast<std::size_t>(i * 7 % 24)]) + " " +
         s(words::kLastNames[static_cast<std::size_t>(i * 11 % 20)]);
}

int writePeopleAndMaterial(std::ostream& out, std::ostream& err) {
  using namespace words;
  const auto& S = dict::schemaOf;
  constexpr int kPerformers = 40;
  int rc = 0;
  Random random(11);
  rc |= TableWriter(S(tables::Topic), out, err).fill(16, [&](RecordRef& r, std::int64_t i) {
    r.set(TOP_TOPICNUMBER, static_cast<std::int32_t>(i));
    r.set(TOP_TOPIC, kTopics[static_cast<std::size_t>(i - 1)]);
    r.set(TOP_SYNONYMS, kTopicSynonyms[static_cast<std::size_t>(i - 1)]);
  });
  rc |= TableWriter(S(tables::SermonSeries), out, err).fill(12, [&](RecordRef& r, std::int64_t i) {
    const vrt::DayNumber start = vrt::dateFromYmd(2023, 1, 1) + static_cast<vrt::DayNumber>((i - 1) * 91);
    r.set(SSE_SERIESNUMBER, static_cast<std::int32_t>(i));
    r.set(SSE_NAME, kSeries[static_cast<std::size_t>(i - 1)]);
    r.set(SSE_DESCRIPTION, "A " + std::to_string(6 + i % 7) + "-week series on " + s(kSeries[static_cast<std::size_t>(i - 1)]));
    r.set(SSE_STARTDATE_DATE, start);
    r.set(SSE_ENDDATE_DATE, start + 83);
    r.set(SSE_TOPIC, static_cast<std::int32_t>(i % 16 + 1));
    r.set(SSE_POSTERIMAGE, "posters/series" + std::to_string(i) + ".png");
  });
  rc |= TableWriter(S(tables::SeriesPublicity), out, err).fill(30, [&](RecordRef& r, std::int64_t i) {
    r.set(SEP_PUBLICITYNUMBER, static_cast<std::int32_t>(i));
    r.set(SEP_SERIESNUMBER, static_cast<std::int32_t>((i - 1) % 12 + 1));
    r.set(SEP_PUBLICITYDESCRIPTION, kPublicity[static_cast<std::size_t>((i - 1) / 12 + (i % 3)) % kPublicity.size()]);
  });
  rc |= TableWriter(S(tables::Performers), out, err).fill(kPerformers, [&](RecordRef& r, std::int64_t i) {
    const std::string first = s(kFirstNames[static_cast<std::size_t>(i * 7 % 24)]);
    const std::string last = s(kLastNames[static_cast<std::size_t>(i * 11 % 20)]);
    r.set(PER_PERFORMERSNUMBER, static_cast<std::int32_t>(i));
    r.set(PER_FIRSTNAME, first);
    r.set(PER_LASTNAME, last);
    r.set(PER_TITLE, i % 9 == 1 ? "Rev." : (i % 4 == 0 ? "Dr." : ""));
    r.set(PER_ROLE, kRoles[static_cast<std::size_t>(i % 12)]);
    r.set(PER_EMAIL, lowerName(first) + "." + lowerName(last) + "@example.org");
  });
  rc |= TableWriter(S(tables::PerformerGroupHeader), out, err).fill(6, [&](RecordRef& r, std::int64_t i) {
    r.set(PGH_PERFORMERGROUPNUMBER, static_cast<std::int32_t>(i));
    r.set(PGH_DESCRIPTION, kGroups[static_cast<std::size_t>(i - 1)]);
  });
  rc |= TableWriter(S(tables::PerformerGroupDetail), out, err).fill(36, [&](RecordRef& r, std::int64_t i) {
    const std::int64_t person = (i * 13) % kPerformers + 1;
    r.set(PGD_PERFORMERGROUPNUMBER, static_cast<std::int32_t>((i - 1) / 6 + 1));
    r.set(PGD_PERFORMERGROUPDETAILNUMBER, static_cast<std::int32_t>(i));
    r.set(PGD_PERFORMERNUMBER, static_cast<std::int32_t>(person));
    r.set(PGD_FIRSTNAME, kFirstNames[static_cast<std::size_t>(person * 7 % 24)]);
    r.set(PGD_LASTNAME, kLastNames[static_cast<std::size_t>(person * 11 % 20)]);
    r.set(PGD_ROLE, kRoles[static_cast<std::size_t>(person % 12)]);
    r.set(PGD_LEADER, static_cast<std::uint8_t>(i % 6 == 1 ? 1 : 0));
  });
  rc |= TableWriter(S(tables::Bibliography), out, err).fill(150, [&](RecordRef& r, std::int64_t i) {
    const std::string title = s(random.pick(kSongStarts)) + " " + s(random.pick(kSongEnds));
    const int year = random.between(1750, 2025);
    r.set(BBL_BIBLIOGRAPHYNUMBER, static_cast<std::int32_t>(i));
    r.set(BBL_TITLE, title);
    r.set(BBL_DESCRIPTION, i % 5 == 0 ? "Reading" : "Congregational song");
    r.set(BBL_WRITTENBY, personName(i + 3));
    r.set(BBL_MUSICBY, personName(i + 5));
    r.set(BBL_DURATION, std::to_string(random.between(2, 7)) + ":" + std::to_string(random.between(10, 59)));
    r.set(BBL_PUBLISHER, random.pick(kPublishers));
    r.set(BBL_PUBLISHEDYEAR, std::to_string(year));
    r.set(BBL_PUBLISHERCITY, random.pick(kCities));
    r.set(BBL_PUBLISHERCOUNTRY, "USA");
    r.set(BBL_CCLI, std::to_string(1000000 + i * 7919));
    r.set(BBL_WORDS, "lyrics/song" + std::to_string(i) + ".txt");
  });
  return rc;
}

int writeServices(std::int64_t services, std::int64_t perService, std::ostream& out, std::ostream& err) {
  using namespace words;
  const auto& S = dict::schemaOf;
  // Sundays over about 27 years; more services than that share their dates.
  auto sunday = [](std::int64_t i) { return vrt::dateFromYmd(2000, 1, 2) + static_cast<vrt::DayNumber>(7 * ((i - 1) % 1400)); };
  int rc = TableWriter(S(tables::Service), out, err).fill(services, [&](RecordRef& r, std::int64_t i) {
    const std::int64_t series = (i - 1) / 13 % 12;
    r.set(SER_SERVICENUMBER, static_cast<std::int32_t>(i));
    r.set(SER_TITLE, s(kSeries[static_cast<std::size_t>(series)]) + ", week " + std::to_string((i - 1) % 13 + 1));
    r.set(SER_SERMONSERIES, static_cast<std::int32_t>(series + 1));
    r.set(SER_WEEKOFDATE_DATE, sunday(i));
    r.set(SER_WEEKOFDATE_TIME, vrt::timeFromHms(i % 3 == 0 ? 11 : 9, 30));
    for (auto f : {SER_SPEAKER, SER_WORSHIPLEADER, SER_SOUNDTECH, SER_PRODUCER, SER_VIDEOTECH, SER_LIGHTTECH,
                   SER_COMPUTERTECH})
      r.set(f, static_cast<std::int32_t>((i * 31 + f.offset) % 40 + 1));
    r.set(SER_TAPENUMBER, "T-" + std::to_string(10000 + i));
    r.set(SER_TOPIC1, static_cast<std::int32_t>(i % 16 + 1));
    r.set(SER_TOPIC2, static_cast<std::int32_t>((i + 5) % 16 + 1));
    r.set(SER_DATECREATED_DATE, sunday(i) - 10);
    r.set(SER_DATECREATED_TIME, vrt::timeFromHms(14, 0));
    r.set(SER_LASTUPDATED_DATE, sunday(i) - 2);
    r.set(SER_LASTUPDATED_TIME, vrt::timeFromHms(16, 45));
  });
  // The elements of each service, in running order; past eight the order repeats.
  static constexpr int kOrder[] = {0, 1, 1, 2, 3, 4, 5, 9};
  Random random(23);
  rc |= TableWriter(S(tables::ServiceElement), out, err).fill(services * perService, [&](RecordRef& r, std::int64_t i) {
    const int step = static_cast<int>((i - 1) % perService);
    const W type = kElementTypes[static_cast<std::size_t>(kOrder[step % 8])];
    const bool song = type == "Song";
    r.set(SEL_ELEMENTNUMBER, static_cast<std::int32_t>(i));
    r.set(SEL_SERVICENUMBER, static_cast<std::int32_t>((i - 1) / perService + 1));
    r.set(SEL_ELEMENTORDER, step + 1);
    r.set(SEL_TYPE, type);
    r.set(SEL_TITLE, song ? s(random.pick(kSongStarts)) + " " + s(random.pick(kSongEnds)) : s(type));
    r.set(SEL_BIBLIOGRAPHYNUMBER, song ? random.between(1, 150) : 0);
    r.set(SEL_DURATION, std::to_string(song ? random.between(3, 6) : random.between(1, 30)) + " min");
    r.set(SEL_PRESERVICE, step == 0 ? "Y" : "N");
    r.set(SEL_PERFORMERGROUP, song ? random.between(1, 6) : 0);
    r.set(SEL_PERFORMER, random.between(1, 40));
    if (song) r.set(SEL_TEMPO, random.percent(50) ? "Upbeat" : "Slow");
    if (song) r.set(SEL_SOUND, "Band, vocals");
  });
  rc |= TableWriter(S(tables::BibleRef), out, err).fill(services * 2, [&](RecordRef& r, std::int64_t i) {
    const int chapter = random.between(1, 28);
    const int verse = random.between(1, 20);
    r.set(BIB_REFERENCENUMBER, static_cast<std::int32_t>(i));
    r.set(BIB_SERVICENUMBER, static_cast<std::int32_t>((i - 1) / 2 + 1));
    r.set(BIB_BIBLEVERSION, random.pick(kBibles));
    r.set(BIB_BOOK, random.pick(kBooks));
    r.set(BIB_STARTCHAPTER, chapter);
    r.set(BIB_STARTVERSE, verse);
    r.set(BIB_ENDCHAPTER, chapter);
    r.set(BIB_ENDVERSE, verse + random.between(1, 12));
  });
  rc |= TableWriter(S(tables::KeyWords), out, err).fill(services * 3, [&](RecordRef& r, std::int64_t i) {
    r.set(KWD_KEYWORDNUMBER, static_cast<std::int32_t>(i));
    r.set(KWD_SERVICENUMBER, static_cast<std::int32_t>((i - 1) / 3 + 1));
    r.set(KWD_KEYWORD, kKeyWords[static_cast<std::size_t>((i * 5 + (i - 1) / 3) % 12)]);
  });
  rc |= TableWriter(S(tables::Statistics), out, err).fill(services, [&](RecordRef& r, std::int64_t i) {
    const int adults = random.between(120, 340);
    r.set(STA_STATISTICNUMBER, static_cast<std::int32_t>(i));
    r.set(STA_SERVICENUMBER, static_cast<std::int32_t>(i));
    r.set(STA_TYPE, "Sunday Morning");
    r.set(STA_OFFERING, vrt::Decimal::fromCents(static_cast<std::int64_t>(adults) * random.between(1800, 4200)));
    r.set(STA_BUDGETNEED, vrt::Decimal::fromUnits(9500));
    r.set(STA_ADULT, adults);
    r.set(STA_ADULTGUESTS, random.between(0, 25));
    r.set(STA_YOUTH, random.between(20, 60));
    r.set(STA_CHILDREN, random.between(15, 70));
    r.set(STA_SAVED, random.percent(20) ? random.between(1, 4) : 0);
    r.set(STA_BAPTIZED, random.percent(10) ? random.between(1, 6) : 0);
    r.set(STA_PRAYEDFOR, random.between(0, 30));
    r.set(STA_WEATHER, random.pick(kWeather));
    // Holidays by the Sunday's date and a few events through the year, for the charts to mark.
    if (const auto ymd = vrt::ymdFromDate(sunday(i))) {
      const int m = ymd->month, d = ymd->day;
      const char* holiday = m == 12 && d >= 19 && d <= 25 ? "Christmas"
                            : m == 1 && d <= 7            ? "New Year"
                            : m == 5 && d >= 8 && d <= 14 ? "Mother's Day"
                            : m == 6 && d >= 15 && d <= 21 ? "Father's Day"
                                                          : "";
      r.set(STA_HOLIDAY, holiday);
    }
    r.set(STA_SPECIALEVENT, i % 26 == 10 ? "Baptism Sunday" : i % 52 == 40 ? "Church Anniversary" : "");
  });
  rc |= TableWriter(S(tables::AssociatedFiles), out, err).fill(services, [&](RecordRef& r, std::int64_t i) {
    r.set(ASF_ASSOCIATEDFILESNUMBER, static_cast<std::int32_t>(i));
    r.set(ASF_SERVICENUMBER, static_cast<std::int32_t>(i));
    r.set(ASF_ELEMENTNUMBER, static_cast<std::int32_t>((i - 1) * perService + std::min<std::int64_t>(6, perService)));  // the sermon
    r.set(ASF_TYPE, "Slides");
    r.set(ASF_DESCRIPTION, "Sermon slides");
    r.set(ASF_FILELOCATION, "media/service" + std::to_string(i) + "/slides.pdf");
  });
  return rc;
}

int writePrayerJournal(std::int64_t requests, std::ostream& out, std::ostream& err) {
  using namespace words;
  const auto& S = dict::schemaOf;
  Random random(7);
  int rc = TableWriter(S(tables::PrayerRequest), out, err).fill(requests, [&](RecordRef& r, std::int64_t i) {
    std::string text = s(random.pick(kOpeners)) + " " + s(random.pick(kWhom));
    if (random.percent(40)) text += ", " + s(random.pick(kFirstNames)) + ",";
    text += " " + s(random.percent(1) ? random.pick(kCareSituations) : random.pick(kSituations)) + ".";
    text += s(random.pick(kClosings));
    const vrt::DayNumber started = kFirstDay + random.below(kLastDay - kFirstDay + 1);
    const bool answered = random.percent(50);
    // Family and Health come up most often.
    const int c = random.below(14);
    const W category = kPrayerCategories[static_cast<std::size_t>(c < 3 ? 0 : c < 6 ? 1 : c - 4)];
    r.set(PRA_REQUESTNUMBER, static_cast<std::int32_t>(i));
    r.set(PRA_REQUEST, text);
    r.set(PRA_DATESTARTED, started);
    r.set(PRA_REQUESTCATEGORY, category);
    if (random.percent(30)) r.set(PRA_COMMENTS, random.pick(kComments));
    if (answered) {
      const vrt::DayNumber done = std::min(kLastDay, started + random.between(1, 400));
      r.set(PRA_DATEANSWERED, done);
      r.set(PRA_NUMBERDAYS, std::to_string(done - started));
      const int a = random.below(10);
      r.set(PRA_ANSWER, a < 6 ? "Yes" : a < 7 ? "No" : "Other");
    }
  });
  auto dated = [&](std::int64_t i) { return kFirstDay + static_cast<vrt::DayNumber>(i * 37 % (kLastDay - kFirstDay)); };
  rc |= TableWriter(S(tables::Blessings), out, err).fill(60, [&](RecordRef& r, std::int64_t i) {
    r.set(BLE_BLESSINGNUMBER, static_cast<std::int32_t>(i));
    r.set(BLE_BLESSING, "We were blessed with " + s(random.pick(kThanks)) + ".");
    r.set(BLE_BLESSINGDATE, dated(i));
    r.set(BLE_BLESSINGCATEGORY, random.pick(kPrayerCategories));
  });
  rc |= TableWriter(S(tables::Praises), out, err).fill(60, [&](RecordRef& r, std::int64_t i) {
    r.set(PRS_PRAISENUMBER, static_cast<std::int32_t>(i));
    r.set(PRS_PRAISE, "Praise God for " + s(random.pick(kThanks)) + "!");
    r.set(PRS_PRAISEDATE, dated(i + 3));
    r.set(PRS_PRAISECATEGORY, random.pick(kPrayerCategories));
  });
  rc |= TableWriter(S(tables::Journal), out, err).fill(60, [&](RecordRef& r, std::int64_t i) {
    r.set(JOU_JOURNALNUMBER, static_cast<std::int32_t>(i));
    r.set(JOU_JOURNALENTRY, "Today I read " + s(random.pick(kBooks)) + " " + std::to_string(random.between(1, 28)) +
                                " and thought about " + lowerName(random.pick(kKeyWords)) + ".");
    r.set(JOU_JOURNALDATE, dated(i + 5));
    r.set(JOU_JOURNALCATEGORY, random.pick(kJournalCategories));
  });
  return rc;
}

}  // namespace

int generateSampleData(const SampleOptions& options, std::ostream& out, std::ostream& err) {
  int rc = writePickLists(out, err);
  rc |= writePeopleAndMaterial(out, err);
  rc |= writeServices(options.services, options.elementsPerService, out, err);
  // The bibliography's first and last used dates as the services just written make them.
  if (rc == 0) {
    std::ostringstream quiet;
    if (!checkSongUse(true, quiet, err)) rc = 1;
  }
  rc |= writePrayerJournal(options.prayerRequests, out, err);
  return rc ? 1 : 0;
}

int runGenerate(const Args& args, std::ostream& out, std::ostream& err) {
  SampleOptions options;
  long long requests = options.prayerRequests, services = options.services, elements = options.elementsPerService;
  if (!numberOption(args, "--prayer-requests", 0, 10'000'000, requests, err) ||
      !numberOption(args, "--services", 0, 2'000'000, services, err) ||
      !numberOption(args, "--elements", 1, 100, elements, err))
    return 2;
  options.prayerRequests = requests;
  options.services = services;
  options.elementsPerService = elements;
  return generateSampleData(options, out, err);
}

}  // namespace vesp::tools
