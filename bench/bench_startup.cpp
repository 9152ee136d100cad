// Start-up time: from the start of main to the first shown main frame, in a folder holding
// the 27 empty tables. Prints the time and ends; run it as a whole process to time the
// process too.
//
//   bench_startup [FOLDER]   (default: /tmp/vesp-bench-startup; made when missing)
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "bench/bench_support.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"
#include "shell/startup.h"
#include "tools/vesp_data/commands.h"

int main(int argc, char** argv) {
  const auto start = std::chrono::steady_clock::now();
  const std::string folder = argc > 1 ? argv[1] : "/tmp/vesp-bench-startup";
  if (!std::filesystem::exists(folder + "/Service.vdb")) {
    vbench::DataFolder in(folder);
    std::ostringstream out, err;
    vesp::tools::runCommandLine({"create"}, out, err);
  }
  vbench::DataFolder in(folder);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const auto beforeQt = std::chrono::steady_clock::now();
  QApplication app(argc, argv);
  vesp::StartProgram();
  // Drive the program until its frame is on screen (this loop is the benchmark's, not the program's).
  for (;;) {
    QApplication::processEvents();
    vrt::RunReadyThreads();
    vrt::Window* frame = vrt::FrameHost::frame();
    if (frame && frame->widget() && frame->widget()->isVisible()) break;
  }
  const auto shown = std::chrono::steady_clock::now();
  auto ms = [](auto a, auto b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
  std::printf("main frame shown %.1f ms after main started (%.1f ms after the data folder was ready)\n",
              ms(start, shown), ms(beforeQt, shown));
  vrt::EndAllThreads();
  return 0;
}
