#include "bench/bench_engines.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include <QByteArray>
#include <QtGlobal>

#include "bench/bench_support.h"
#include "records/data_copy.h"

namespace vbench {

using vrt::store::DataLocation;

std::vector<Engine> engines(int& argc, char** argv) {
  std::string engine, server;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const bool takesValue = !std::strcmp(argv[i], "--engine") || !std::strcmp(argv[i], "--server");
    if (takesValue && i + 1 < argc) {
      (argv[i][2] == 'e' ? engine : server) = argv[i + 1];
      ++i;
      continue;
    }
    argv[kept++] = argv[i];
  }
  argc = kept;
  if (engine.empty()) engine = server.empty() ? "files" : "both";
  std::vector<Engine> out;
  if (engine != "files" && engine != "server" && engine != "both") {
    std::cerr << "--engine takes files, server or both\n";
    return out;
  }
  if (engine != "files") {
    std::string error;
    const auto at = vrt::store::parseConnection(server, &error);
    if (server.empty() || !at) {
      std::cerr << "the server engine needs --server CONNECTION" << (error.empty() ? "" : ": " + error) << "\n";
      return out;
    }
    if (engine == "both") out.push_back({"files", DataLocation::files()});
    out.push_back({"server", *at});
  } else {
    out.push_back({"files", DataLocation::files()});
  }
  return out;
}

bool useEngine(const Engine& engine) {
  if (engine.location.onServer()) {
    std::string error;
    const std::string held = vesp::datacopy::tablesWithRecords(engine.location, error);
    if (!error.empty()) {
      std::cerr << error << "\n";
      return false;
    }
    if (held.empty()) {
      std::cout << "Copying the folder's data to " << engine.location.describe() << " ...\n" << std::flush;
      const auto start = std::chrono::steady_clock::now();
      const auto copied = vesp::datacopy::copyData(DataLocation::files(), engine.location);
      if (!copied.ok) {
        std::cerr << copied.error << "\n";
        return false;
      }
      std::printf("copied %lld records in %.1f s\n", static_cast<long long>(copied.records()),
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
  }
  const auto opened = vrt::store::openData(engine.location);
  if (!opened.ok) std::cerr << opened.error << "\n";
  return opened.ok;
}

void useOffscreenDesktop() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
  const std::string config = (std::filesystem::temp_directory_path() / "vesp-bench-screen.json").string();
  std::ofstream(config) << R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1600, "height": 1200,)"
                           R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
  qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString("offscreen:configfile=" + config));
}

void printComparison(const std::vector<std::string>& names, const std::vector<std::vector<double>>& files,
                     const std::vector<std::vector<double>>& server) {
  std::printf("\n%-46s %12s %12s %14s\n", "operation (median microseconds)", "files", "server", "server/files");
  for (std::size_t i = 0; i < names.size() && i < files.size() && i < server.size(); ++i) {
    const double f = median(files[i]), s = median(server[i]);
    std::printf("%-46s %12.0f %12.0f %14.2f\n", names[i].c_str(), f, s, f > 0 ? s / f : 0.0);
  }
}

}  // namespace vbench
