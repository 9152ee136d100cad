#pragma once
// The commands of vesp-data. Each works on the data files in the current directory, writes
// its results to `out` and its complaints to `err`, and returns the exit status:
// 0 done, 1 failed (or damage found), 2 bad arguments.
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace vesp::tools {

struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "--order" -> "DateStartedKey"; flags map to ""
  bool has(const std::string& option) const { return options.count(option) > 0; }
};

struct Command {
  const char* name;
  const char* synopsis;              // arguments after the name, for the usage text
  const char* summary;
  std::vector<std::string> valueOptions;
  std::vector<std::string> flagOptions;
  std::size_t minPositional, maxPositional;
  int (*run)(const Args&, std::ostream& out, std::ostream& err);
};

const std::vector<Command>& commands();
void printUsage(std::ostream& err);
// Parses and runs a whole command line (without the program name).
int runCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

int runCreate(const Args&, std::ostream&, std::ostream&);
int runCheck(const Args&, std::ostream&, std::ostream&);
int runCount(const Args&, std::ostream&, std::ostream&);
int runExport(const Args&, std::ostream&, std::ostream&);
int runGenerate(const Args&, std::ostream&, std::ostream&);
int runQuery(const Args&, std::ostream&, std::ostream&);
int runDelete(const Args&, std::ostream&, std::ostream&);
int runUsage(const Args&, std::ostream&, std::ostream&);
int runBackup(const Args&, std::ostream&, std::ostream&);
int runRestore(const Args&, std::ostream&, std::ostream&);
int runCopy(const Args&, std::ostream&, std::ostream&);

// Reads a whole number option; false (with a message) when it is not one.
bool numberOption(const Args& args, const std::string& option, long long low, long long high, long long& value,
                  std::ostream& err);

}  // namespace vesp::tools
