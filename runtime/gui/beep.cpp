#include "runtime/gui/beep.h"

#include <QApplication>

namespace vrt {

namespace {

struct BeepLog {
  int count = 0;
  BeepRequest last;
};

BeepLog& beepLog() {
  static BeepLog log;
  return log;
}

}  // namespace

void Beep(int frequency, int duration) {
  BeepLog& log = beepLog();
  ++log.count;
  log.last = BeepRequest{frequency, duration};
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
}

int BeepCount() { return beepLog().count; }
BeepRequest LastBeep() { return beepLog().last; }

}  // namespace vrt
