#include <QApplication>

#include "app/Application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TLumioWindows windows = CreateLumioWindows();
  windows.Form1->show();
  return app.exec();
}
