#pragma once
// Qt's own dialogs (file picker, page set-up) as windows of the calling thread: the thread
// waits for the dialog by taking events, so no nested Qt event loop runs and other threads'
// windows stay usable.
class QDialog;

namespace vrt {

// Shows `dialog` and returns its result (QDialog::Accepted or Rejected) once it finishes;
// Rejected at once outside every thread or when the thread is closed down.
int WaitForDialog(QDialog& dialog);

}  // namespace vrt
