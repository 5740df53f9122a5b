#include "app/Application.h"

#include <QApplication>

#include "platform/Graphics.h"

TLumioWindows CreateLumioWindows() {
  // The application title. No display name is set: the window system would append it to every
  // window's title (the title, a dash, then the display name), and the titles must read exactly
  // as they are given. Message boxes take the title from the application name all the same.
  QApplication::setApplicationName(QStringLiteral("Lumio Spectrometer"));
  QApplication::setApplicationVersion(QString::fromLatin1(kLumioVersion));
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
