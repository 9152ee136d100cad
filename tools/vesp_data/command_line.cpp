#include <algorithm>
#include <cstdlib>

#include "records/data_restore.h"
#include "records/location_file.h"
#include "tools/vesp_data/commands.h"

namespace vesp::tools {

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"create", "", "create every table's data file, empty (files that exist are left alone)", {}, {}, 0, 0, runCreate},
      {"check", "[--repair]",
       "check the integrity and keys of every data file, the bibliography's first and last used dates, and "
       "rows whose owner is missing; --repair rebuilds damaged keys, recomputes those dates and, after a "
       "backup set, removes those rows",
       {}, {"--repair"}, 0, 0, runCheck},
      {"count", "TABLE", "print how many records a table holds", {}, {}, 1, 1, runCount},
      {"export", "TABLE [--order KEY]", "write a table's records as CSV in a key's order", {"--order"}, {}, 1, 1,
       runExport},
      {"query", "TABLE [--order TEXT] [--filter TEXT] [--limit N] [--reverse]",
       "write the records a view yields as CSV: in an order (default: the first key's), limited by a filter "
       "expression",
       {"--order", "--filter", "--limit"}, {"--reverse"}, 1, 1, runQuery},
      {"delete", "TABLE NUMBER",
       "delete one record by its number, with the records that depend on it (a service's elements and "
       "passages, a group's members)",
       {}, {}, 2, 2, runDelete},
      {"generate", "[--prayer-requests N] [--services N] [--elements N]",
       "fill the empty tables with realistic sample data (the same every time); --elements: per service",
       {"--prayer-requests", "--services", "--elements"},
       {}, 0, 0, runGenerate},
      {"usage", "--from DATE --to DATE [--order title|count] [--csv]",
       "list the bibliography entries the services from DATE to DATE (yyyy-mm-dd) used, with the number of "
       "services and their dates, for licence reporting; --csv writes the list as CSV",
       {"--from", "--to", "--order"}, {"--csv"}, 0, 0, runUsage},
      {"backup", "[FOLDER] [--full]",
       "make a new, verified backup set of every data file in FOLDER (default: backups); files unchanged since "
       "the newest set there are taken from it, unless --full (or the month's first set) copies and checks them all",
       {}, {"--full"}, 0, 1, runBackup},
      {"restore", "SET",
       "check a backup set and put its files in place of the current ones, which are kept in a set of their own",
       {}, {}, 1, 1, runRestore},
      {"copy", "--to-server CONNECTION | --from-server CONNECTION [FOLDER]",
       "copy every table and the saved queries from the files of FOLDER (default: this folder; a backup set "
       "will do) to an empty server database, or from a server into empty files there; record counts and "
       "digests are checked on both sides at the end. CONNECTION: \"host=office-pc dbname=vespera "
       "user=pastor\" or postgresql://pastor@office-pc/vespera",
       {"--to-server", "--from-server"}, {}, 0, 1, runCopy},
  };
  return table;
}

namespace {

// Every command holds the data folder for its run: a restore in another process waits
// for it, and a restore cut off earlier is finished or undone before the command reads.
int runInDataFolder(const Command& cmd, const Args& args, std::ostream& out, std::ostream& err) {
  backup::DataFolderLock lock(".");
  const auto waiting = [&err] { err << "vesp-data: waiting for a restore to finish\n" << std::flush; };
  const backup::TakenFolder taken = backup::TakeDataFolder(".", lock, waiting);
  for (std::size_t at = 0, end; at < taken.recovered.size(); at = end + 1) {
    end = taken.recovered.find('\n', at);
    if (end == std::string::npos) end = taken.recovered.size();
    err << "vesp-data: " << taken.recovered.substr(at, end - at) << "\n";
  }
  if (!taken.ok) {
    err << "vesp-data " << cmd.name << ": " << taken.error << "\n";
    return 1;
  }
  // Where the station's data lives; copy names both of its places itself. The place in use
  // before is put back afterwards, for callers that run several commands in one process.
  const vrt::store::DataLocation before = vrt::store::currentDataLocation();
  if (std::string(cmd.name) != "copy") {
    const location::ReadResult recorded = location::readLocation(".");
    if (!recorded.error.empty()) {
      err << "vesp-data " << cmd.name << ": " << recorded.error << "\n";
      return 1;
    }
    if (recorded.location.onServer()) {
      const vrt::store::ConnectionCheck opened = vrt::store::openData(recorded.location);
      if (!opened.ok) {
        err << "vesp-data " << cmd.name << ": " << opened.error
            << (opened.needsPassword ? " Keep the password in your PostgreSQL password file (~/.pgpass)." : "")
            << "\n";
        return 1;
      }
    }
  }
  backup::DataFolderLock* outer = backup::sessionLock();
  backup::setSessionLock(&lock);
  const int status = cmd.run(args, out, err);
  backup::setSessionLock(outer);
  if (!(vrt::store::currentDataLocation() == before)) vrt::store::openData(before);
  return status;
}

}  // namespace

void printUsage(std::ostream& err) {
  err << "usage: vesp-data COMMAND [ARGUMENTS]\n"
         "Works on the Vespera data of the current directory: its files, or the server its DataLocation.ini names.\n\n";
  for (const auto& c : commands()) {
    std::string head = std::string("  ") + c.name + (*c.synopsis ? " " : "") + c.synopsis;
    err << head << "\n      " << c.summary << "\n";
  }
}

int runCommandLine(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
  if (words.empty() || words[0] == "--help" || words[0] == "-h") {
    printUsage(err);
    return words.empty() ? 2 : 0;
  }
  const auto cmd = std::find_if(commands().begin(), commands().end(),
                                [&](const Command& c) { return words[0] == c.name; });
  if (cmd == commands().end()) {
    err << "vesp-data: unknown command '" << words[0] << "'\n";
    printUsage(err);
    return 2;
  }
  Args args;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w.rfind("--", 0) != 0) {
      args.positional.push_back(w);
      continue;
    }
    const auto& values = cmd->valueOptions;
    const auto& flags = cmd->flagOptions;
    if (std::find(flags.begin(), flags.end(), w) != flags.end()) {
      args.options[w] = "";
    } else if (std::find(values.begin(), values.end(), w) != values.end()) {
      if (i + 1 >= words.size()) {
        err << "vesp-data " << cmd->name << ": " << w << " needs a value\n";
        return 2;
      }
      args.options[w] = words[++i];
    } else {
      err << "vesp-data " << cmd->name << ": unknown option '" << w << "'\n";
      err << "usage: vesp-data " << cmd->name << " " << cmd->synopsis << "\n";
      return 2;
    }
  }
  if (args.positional.size() < cmd->minPositional || args.positional.size() > cmd->maxPositional) {
    err << "usage: vesp-data " << cmd->name << " " << cmd->synopsis << "\n";
    return 2;
  }
  return runInDataFolder(*cmd, args, out, err);
}

bool numberOption(const Args& args, const std::string& option, long long low, long long high, long long& value,
                  std::ostream& err) {
  auto it = args.options.find(option);
  if (it == args.options.end()) return true;
  char* end = nullptr;
  const long long v = std::strtoll(it->second.c_str(), &end, 10);
  if (it->second.empty() || *end != '\0' || v < low || v > high) {
    err << "vesp-data: " << option << " takes a whole number from " << low << " to " << high << "\n";
    return false;
  }
  value = v;
  return true;
}

}  // namespace vesp::tools
