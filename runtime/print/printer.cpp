#include "runtime/print/printer.h"

#include <QPrinter>

namespace vrt {

QPrinter& sharedPrinter() {
  static QPrinter printer(QPrinter::HighResolution);
  return printer;
}

}  // namespace vrt
