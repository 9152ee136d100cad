#include "runtime/gui/printer_setup.h"

#include <QPageSetupDialog>
#include <QPrintDialog>

#include "runtime/gui/dialog_wait.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/window.h"
#include "runtime/print/printer.h"

namespace vrt {

bool PrinterSetup() {
  QWidget* owner = FrameHost::frame() ? FrameHost::frame()->widget() : nullptr;
  QPageSetupDialog dialog(&sharedPrinter(), owner);
  dialog.setObjectName(QStringLiteral("PrinterSetup"));
  return WaitForDialog(dialog) == QDialog::Accepted;
}

bool PrintDialog(const Window& owner) {
  QPrintDialog dialog(&sharedPrinter(), owner.widget());
  dialog.setObjectName(QStringLiteral("PrintDialog"));
  return WaitForDialog(dialog) == QDialog::Accepted;
}

}  // namespace vrt
