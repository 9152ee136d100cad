#include <QApplication>

#include "shell/startup.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Vespera");
  return vesp::RunProgram();
}
