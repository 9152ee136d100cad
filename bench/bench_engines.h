#pragma once
// The engines a benchmark measures: the files of its data folder, a PostgreSQL server on
// the same machine, or both in one run, chosen on the command line:
//
//   --engine files|server|both   (default: both when --server is given, else files)
//   --server CONNECTION          libpq's "host=/tmp/pg dbname=bench" or a postgresql:// address
//
// The server gets the folder's data copied in when it holds none of it yet.
#include <string>
#include <vector>

#include "runtime/store/data_location.h"

namespace vbench {

struct Engine {
  std::string name;  // "files", "server"
  vrt::store::DataLocation location;
};

// Takes the engine options out of argv (so the positional arguments stay as they were) and
// returns the engines to measure, files first; empty, with a message on stderr, when the
// options are wrong.
std::vector<Engine> engines(int& argc, char** argv);

// Makes `engine` where the program's data lives; for a server, copies the current folder's
// data there first when the server holds no records. False (with a message) on failure.
bool useEngine(const Engine& engine);

// Runs the program on Qt's offscreen platform with a desktop's screen (1600 x 1200) unless
// QT_QPA_PLATFORM says otherwise: the platform's own small screen would leave the lists
// fewer rows than they declare. Call before the QApplication is made.
void useOffscreenDesktop();

// "files" and "server" side by side: the median of each and their ratio.
void printComparison(const std::vector<std::string>& names, const std::vector<std::vector<double>>& files,
                     const std::vector<std::vector<double>>& server);

}  // namespace vbench
