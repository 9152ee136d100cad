#include "runtime/gui/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <memory>

#include "runtime/gui/dialog_wait.h"
#include "runtime/gui/frame_host.h"
#include "runtime/gui/threads.h"
#include "runtime/gui/window.h"

namespace vrt {

namespace {

// "*.*" means every file, as it does on Windows: here a name needs no dot to be shown.
QString nameFilters(const std::vector<std::pair<std::string, std::string>>& masks) {
  QStringList filters;
  for (const auto& [description, pattern] : masks) {
    QStringList patterns = QString::fromStdString(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns)
      if (p.trimmed() == QLatin1String("*.*")) p = QStringLiteral("*");
    filters << QString::fromStdString(description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                   QStringLiteral(")");
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace

FileDialogResult FileDialog(const FileDialogRequest& request) {
  const int thread = ThreadNumber();
  if (thread == 0) return {};
  const QString before = QDir::currentPath();
  QWidget* owner = FrameHost::frame() ? FrameHost::frame()->widget() : nullptr;
  auto dialog = std::make_unique<QFileDialog>(owner, QString::fromStdString(request.title),
                                              QString::fromStdString(request.initialDirectory),
                                              nameFilters(request.masks));
  dialog->setOption(QFileDialog::DontUseNativeDialog);  // a native one would block the GUI thread
  if (request.saving) {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);  // its question would run a nested loop
  } else {
    dialog->setFileMode(QFileDialog::ExistingFile);
  }
  dialog->setProperty(kFileDialogProperty, true);  // how the test robot finds it
  if (!request.defaultName.empty()) dialog->selectFile(QString::fromStdString(request.defaultName));
  const bool accepted = WaitForDialog(*dialog) == QDialog::Accepted;
  const QString chosen = accepted ? dialog->selectedFiles().value(0) : QString();
  if (request.restoreDirectory) QDir::setCurrent(before);

  FileDialogResult result;
  if (accepted && !chosen.isEmpty()) {
    result.path = QDir::toNativeSeparators(chosen).toStdString();
    result.cancelled = false;
  }
  return result;
}

}  // namespace vrt
