// Runs every test inside one QApplication on the offscreen platform, or, started as a child
// (--child=NAME), the registered child entry of that name.
#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

#include "platform/Graphics.h"
#include "support/ChildEntry.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Texts of dates and numbers are checked in English whatever the machine's locale; tests of
  // other locales set theirs.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QApplication app(argc, argv);
  RegisterPlatformFonts();
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (!arg.startsWith(QStringLiteral("--child="))) continue;
    const auto entry = ChildEntries().find(arg.mid(8));
    if (entry == ChildEntries().end()) {
      std::fprintf(stderr, "no child entry %s\n", argv[i]);
      return 2;
    }
    return entry->second();
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
