#pragma once
#include <memory>

#include "app/AboutWindow.h"
#include "app/MainWindow.h"
#include "app/PointMeaningDialog.h"

// The program's version, as --version and the About window's application data give it.
inline constexpr const char* kLumioVersion = "0.1.0";

// The program's three windows, created at start in the order main window, About, point meaning.
struct TLumioWindows {
  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<TForm2> Form2;
  std::unique_ptr<TForm3> Form3;
};

// Sets the application's title and fonts and creates the windows.
TLumioWindows CreateLumioWindows();
