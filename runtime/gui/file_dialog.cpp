#include "runtime/gui/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <memory>

#include "runtime/gui/frame_host.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace vrt {

namespace {

int nextDialogId() {
  static int id = -1'000'000;  // below the context menus' ids
  return --id;
}

QString nameFilters(const std::vector<std::pair<std::string, std::string>>& masks) {
  QStringList filters;
  for (const auto& [description, pattern] : masks) filters << QString::fromStdString(description + " (" + pattern + ")");
  return filters.join(QStringLiteral(";;"));
}

}  // namespace

FileDialogResult FileDialog(const FileDialogRequest& request) {
  const int thread = ThreadNumber();
  if (thread == 0) return {};
  const QString before = QDir::currentPath();
  const int id = nextDialogId();
  QWidget* owner = FrameHost::frame() ? FrameHost::frame()->widget() : nullptr;
  auto dialog = std::make_unique<QFileDialog>(owner, QString::fromStdString(request.title),
                                              QString::fromStdString(request.initialDirectory),
                                              nameFilters(request.masks));
  dialog->setOption(QFileDialog::DontUseNativeDialog);  // a native one would block the GUI thread
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setProperty(kFileDialogProperty, id);
  if (!request.defaultName.empty()) dialog->selectFile(QString::fromStdString(request.defaultName));
  auto chosen = std::make_shared<QString>();
  QObject::connect(dialog.get(), &QFileDialog::finished, dialog.get(), [&dialog, chosen, id, thread](int result) {
    if (result == QDialog::Accepted) *chosen = dialog->selectedFiles().value(0);
    PostEvent(Event{result == QDialog::Accepted ? kEventAccepted : kEventCloseWindow, 0, id, 0, 0}, thread);
  });

  Window* caller = Window::find(NewestThreadWindow(thread));
  if (caller) caller->setInputEnabled(false);
  dialog->show();
  Event e;
  do {
    e = TakeEvent(id);
  } while (e.window != id && e.event != kEventCloseDown);
  dialog->disconnect();
  dialog->hide();
  DiscardWindowEvents(id);
  if (caller && Window::find(NewestThreadWindow(thread)) == caller) caller->setInputEnabled(true);
  if (request.restoreDirectory) QDir::setCurrent(before);

  FileDialogResult result;
  if (e.event == kEventAccepted && !chosen->isEmpty()) {
    result.path = QDir::toNativeSeparators(*chosen).toStdString();
    result.cancelled = false;
  }
  return result;
}

}  // namespace vrt
