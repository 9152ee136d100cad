#include "runtime/gui/dialog_wait.h"

#include <QDialog>

#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace vrt {

namespace {

int nextDialogId() {
  static int id = -1'000'000;  // below the context menus' ids
  return --id;
}

}  // namespace

int WaitForDialog(QDialog& dialog) {
  const int thread = ThreadNumber();
  if (thread == 0) return QDialog::Rejected;
  const int id = nextDialogId();
  dialog.setModal(false);
  const auto connection = QObject::connect(&dialog, &QDialog::finished, &dialog, [id, thread](int result) {
    PostEvent(Event{result == QDialog::Accepted ? kEventAccepted : kEventCloseWindow, 0, id, 0, 0}, thread);
  });
  // The caller's window waits, as it does for a message box.
  Window* caller = Window::find(NewestThreadWindow(thread));
  if (caller) caller->setInputEnabled(false);
  dialog.show();
  // What is meant for the thread's windows (the frame's forwarded buttons) waits for them.
  const Event e = TakeOwnEvent(id);
  QObject::disconnect(connection);
  dialog.hide();
  DiscardWindowEvents(id);
  if (caller && Window::find(NewestThreadWindow(thread)) == caller) caller->setInputEnabled(true);
  return e.event == kEventAccepted ? QDialog::Accepted : QDialog::Rejected;
}

}  // namespace vrt
