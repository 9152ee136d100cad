#pragma once
// The data folder of a backup or restore test: sample data made in the current folder,
// vesp-data's command line, and what the data holds, to compare before and after.
#include <gtest/gtest.h>

#include <QDateTime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/upgrade_registration.h"
#include "records/data_backup.h"
#include "runtime/store/backup_copy.h"
#include "runtime/store/data_file.h"
#include "runtime/store/upgrader.h"
#include "support/run_vesp_data.h"
#include "tools/vesp_data/sample_data.h"

namespace vesp::testing::backup_data {

inline const QDateTime kMonday(QDate(2026, 3, 2), QTime(9, 0));

inline std::string run(std::vector<std::string> words, int* status = nullptr) {
  const auto outcome = vesp::testing::runVespData(std::move(words));
  if (status) *status = outcome.status;
  return outcome.out + outcome.err;
}

inline void makeData(std::int64_t prayerRequests, std::int64_t services = 3) {
  std::ostringstream out, err;
  ASSERT_EQ(vesp::tools::generateSampleData({prayerRequests, services}, out, err), 0) << err.str();
  std::ofstream("vsp.INI") << "[Main]\nX=1\n";
}

inline std::string exportTable(const std::string& table) {
  int status = 0;
  const std::string csv = run({"export", table}, &status);
  EXPECT_EQ(status, 0) << csv;
  return csv;
}

// Every data file's digest: the current data, byte for byte.
inline std::map<std::string, std::string> snapshot() {
  std::map<std::string, std::string> files;
  for (const auto& name : vesp::backup::dataFileNames())
    if (std::filesystem::exists(name)) files[name] = vrt::store::fileDigest(name);
  return files;
}

inline void addPrayerRequests(int n) {
  vesp::dict::registerTablesForUpgrade();
  vrt::DataFile file(*vesp::dict::table("PrayerRequest"));
  ASSERT_EQ(vrt::ds_FileOpen(file, vrt::OpenAccess::ReadWrite), 0);
  const auto& request = file.schema().fields[static_cast<std::size_t>(file.schema().fieldIndex("REQUEST"))];
  const auto& number = file.schema().fields[static_cast<std::size_t>(file.schema().fieldIndex("REQUESTNUMBER"))];
  for (int i = 0; i < n; ++i) {
    file.buffer().clearAll(file.schema().fields);
    file.buffer().setNumber(number, 900000 + i);
    file.buffer().setText(request, "added after the backup");
    ASSERT_TRUE(file.add());
  }
}

}  // namespace vesp::testing::backup_data
