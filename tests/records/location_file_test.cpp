// The station's record of where its data lives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "records/location_file.h"
#include "support/temp_dir.h"

using namespace vesp::location;
namespace fs = std::filesystem;

namespace {

std::string fileText() {
  std::ifstream in(kLocationFile);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

DataLocation officeServer() {
  return DataLocation::server("office-pc", 5433, "vespera", "pastor", vrt::store::TlsMode::Require);
}

}  // namespace

TEST(LocationFile, AStationNeverSetUpUsesItsFilesAndWritesNothing) {
  vtest::TempDir dir;
  const ReadResult r = readLocation(".");
  EXPECT_FALSE(r.recorded);
  EXPECT_TRUE(r.error.empty());
  EXPECT_FALSE(r.location.onServer());
  EXPECT_FALSE(fs::exists(kLocationFile));
  EXPECT_TRUE(samePlace(r.location, DataLocation::files(dir.path().string())));
}

TEST(LocationFile, AServerChoiceReadsBackAsWrittenAndKeepsTheRestOfTheFile) {
  vtest::TempDir dir;
  std::ofstream(kLocationFile) << "; kept by hand\n[Other]\nName=value\n";
  ASSERT_EQ(writeLocation(".", officeServer()), "");
  ReadResult r = readLocation(".");
  EXPECT_TRUE(r.recorded);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.location, officeServer());
  const std::string text = fileText();
  EXPECT_NE(text.find("; kept by hand"), std::string::npos) << text;
  EXPECT_NE(text.find("Name=value"), std::string::npos) << text;
  EXPECT_EQ(text.find("assword"), std::string::npos) << text;

  // Back to the files: the server's fields stay for the next time it is chosen.
  DataLocation files = officeServer();
  files.kind = DataLocation::Kind::Files;
  files.folder = ".";
  ASSERT_EQ(writeLocation(".", files), "");
  r = readLocation(".");
  EXPECT_FALSE(r.location.onServer());
  EXPECT_EQ(r.location.host, "office-pc");
  EXPECT_EQ(r.location.port, 5433);
  EXPECT_TRUE(samePlace(r.location, DataLocation::files()));
  EXPECT_FALSE(samePlace(r.location, officeServer()));
}

TEST(LocationFile, AFileThatNamesNoUsableServerIsAnErrorNeverTheFiles) {
  vtest::TempDir dir;
  const std::pair<const char*, const char*> cases[] = {
      {"Store=Cloud\n", "names neither Files nor Server"},
      {"Store=Server\nHost=office-pc\nPort=54x\nDatabase=vespera\n", "port"},
      {"Store=Server\nHost=office-pc\nPort=70000\nDatabase=vespera\n", "port"},
      {"Store=Server\nHost=office pc\nDatabase=vespera\n", "blanks"},
      {"Store=Server\nHost=office-pc\n", "database's name is missing"},
      {"Store=Server\nHost=office-pc\nDatabase=vespera\nTLSMode=always\n", "TLS mode"},
  };
  for (const auto& [body, problem] : cases) {
    std::ofstream(kLocationFile, std::ios::trunc) << "[DataLocation]\n" << body;
    const ReadResult r = readLocation(".");
    EXPECT_TRUE(r.recorded);
    EXPECT_NE(r.error.find(problem), std::string::npos) << body << " gave: " << r.error;
    EXPECT_NE(r.error.find(kLocationFile), std::string::npos) << r.error;
  }
  // Written by hand in other cases, with the default port and TLS mode left out.
  std::ofstream(kLocationFile, std::ios::trunc) << "[datalocation]\nstore=server\nhost=/run/postgresql\ndatabase=v\n";
  const ReadResult r = readLocation(".");
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.location, DataLocation::server("/run/postgresql", kDefaultPort, "v", ""));
}

TEST(LocationFile, AChoiceThatCannotBeUsedIsNotWritten) {
  vtest::TempDir dir;
  ASSERT_EQ(writeLocation(".", officeServer()), "");
  const std::string before = fileText();
  DataLocation bad = officeServer();
  bad.database = "vespera\nStore=Files";
  EXPECT_NE(writeLocation(".", bad), "");
  bad = officeServer();
  bad.port = 0;
  EXPECT_NE(writeLocation(".", bad), "");
  EXPECT_EQ(fileText(), before);
}
