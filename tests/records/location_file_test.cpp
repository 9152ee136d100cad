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

Choice officeServer() {
  Choice c;
  c.store = Store::Server;
  c.host = "office-pc";
  c.port = 5433;
  c.database = "vespera";
  c.user = "pastor";
  c.tlsMode = "require";
  return c;
}

}  // namespace

TEST(LocationFile, AStationNeverSetUpUsesItsFilesAndWritesNothing) {
  vtest::TempDir dir;
  const ReadResult r = readLocation(".");
  EXPECT_FALSE(r.recorded);
  EXPECT_TRUE(r.error.empty());
  EXPECT_FALSE(r.choice.onServer());
  EXPECT_FALSE(fs::exists(kLocationFile));
  EXPECT_EQ(describe(r.choice, "."), "Files in " + dir.path().string());
}

TEST(LocationFile, AServerChoiceReadsBackAsWrittenAndKeepsTheRestOfTheFile) {
  vtest::TempDir dir;
  std::ofstream(kLocationFile) << "; kept by hand\n[Other]\nName=value\n";
  ASSERT_EQ(writeLocation(".", officeServer()), "");
  ReadResult r = readLocation(".");
  EXPECT_TRUE(r.recorded);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.choice, officeServer());
  EXPECT_EQ(describe(r.choice, "."), "Server: vespera on office-pc:5433 as pastor");
  const std::string text = fileText();
  EXPECT_NE(text.find("; kept by hand"), std::string::npos) << text;
  EXPECT_NE(text.find("Name=value"), std::string::npos) << text;
  EXPECT_EQ(text.find("assword"), std::string::npos) << text;

  // Back to the files: the server's fields stay for the next time it is chosen.
  Choice files = officeServer();
  files.store = Store::Files;
  ASSERT_EQ(writeLocation(".", files), "");
  r = readLocation(".");
  EXPECT_FALSE(r.choice.onServer());
  EXPECT_EQ(r.choice.host, "office-pc");
  EXPECT_EQ(r.choice.port, 5433);
}

TEST(LocationFile, AFileThatNamesNoUsableServerIsAnErrorNeverTheFiles) {
  vtest::TempDir dir;
  const std::pair<const char*, const char*> cases[] = {
      {"Store=Cloud\n", "names neither Files nor Server"},
      {"Store=Server\nHost=office-pc\nPort=54x\nDatabase=vespera\n", "port"},
      {"Store=Server\nHost=office-pc\nPort=70000\nDatabase=vespera\n", "port"},
      {"Store=Server\nDatabase=vespera\n", "name or address is missing"},
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
  EXPECT_TRUE(r.choice.onServer());
  EXPECT_EQ(r.choice.port, kDefaultPort);
  EXPECT_EQ(r.choice.tlsMode, kDefaultTlsMode);
  EXPECT_EQ(r.choice.user, "");
}

TEST(LocationFile, AChoiceThatCannotBeUsedIsNotWritten) {
  vtest::TempDir dir;
  ASSERT_EQ(writeLocation(".", officeServer()), "");
  const std::string before = fileText();
  Choice bad = officeServer();
  bad.database = "vespera\nStore=Files";
  EXPECT_NE(writeLocation(".", bad), "");
  bad = officeServer();
  bad.port = 0;
  EXPECT_NE(writeLocation(".", bad), "");
  EXPECT_EQ(fileText(), before);
}
