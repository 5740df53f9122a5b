#include "app/Application.h"

#include <QApplication>

#include "platform/Graphics.h"

TLumioWindows CreateLumioWindows() {
  QApplication::setApplicationName(QStringLiteral("Lumio Spectrometer"));
  QApplication::setApplicationDisplayName(QStringLiteral("Lumio Spectrometer"));
  QApplication::setApplicationVersion(QStringLiteral("0.1.0"));
  RegisterPlatformFonts();
  TFont tahoma;
  QApplication::setFont(tahoma.ToQFont());
  TLumioWindows w;
  w.Form1 = std::make_unique<TForm1>();
  w.Form2 = std::make_unique<TForm2>(w.Form1.get());
  w.Form3 = std::make_unique<TForm3>(w.Form1.get());
  w.Form1->Form2 = w.Form2.get();
  w.Form1->Form3 = w.Form3.get();
  return w;
}
