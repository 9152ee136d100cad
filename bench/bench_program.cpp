#include "bench/bench_program.h"

#include <QCoreApplication>
#include <iostream>

#include "dictionary/dictionary.h"
#include "runtime/store/data_file.h"
#include "runtime/testing/test_robot.h"
#include "tools/vesp_data/open_table.h"

namespace vbench {

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

bool writeRecords(const vesp::dict::TableDecl& table, int count, const std::function<void(vrt::RecordRef, int)>& fill) {
  auto file = vesp::tools::openTable(vesp::dict::schemaOf(table), std::cerr, true);
  if (!file || !file->stream()) return false;
  for (int i = 1; i <= count; ++i) {
    file->buffer().clearAll(file->schema().fields);
    fill(file->buffer(), i);
    if (!file->add()) return false;
  }
  return file->flush();
}

void spin(vrt::TestRobot& robot) {
  QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  robot.settle();
}

}  // namespace vbench
