#include <QApplication>
#include <QMessageBox>

#include "shell/data_folder.h"
#include "shell/startup.h"
#include "shell/terminate_signal.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vespera");
  const std::string why = vesp::EnterDataFolder(QApplication::applicationDirPath().toStdString(), VESP_BUILD_FOLDER);
  if (!why.empty()) {
    QMessageBox::critical(nullptr, "Vespera", QString::fromStdString("Vespera cannot open its data folder: " + why));
    return 1;
  }
  vesp::CloseOnTerminateSignal();
  return vesp::RunProgram();
}
