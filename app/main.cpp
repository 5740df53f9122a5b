#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/Application.h"
#include "app/calibration/Workspace.h"
#include "app/cli/BatchRun.h"
#include "app/cli/CommandLine.h"
#include "platform/Graphics.h"

namespace {
// Standard error carries the run's own messages, one line each: Qt's notes about the
// environment (no runtime folder, no session) are not among them.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

int UsageError(const QString& error) {
  std::fprintf(stderr, "lumio-spectrometer: %s\n", error.toUtf8().constData());
  std::fputs(UsageText().toUtf8().constData(), stderr);
  return kExitUsage;
}
}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const TCliParse parsed = ParseCommandLine(arguments);
  switch (parsed.State) {
    case TCliParse::Help:
      std::fputs(UsageText().toUtf8().constData(), stdout);
      return kExitSuccess;
    case TCliParse::Version:
      std::printf("lumio-spectrometer %s\n", kLumioVersion);
      return kExitSuccess;
    case TCliParse::UsageError:
      return UsageError(parsed.Error);
    case TCliParse::Run: {
      qInstallMessageHandler(QuietQt);
      // Only the chart's pictures need the GUI application. No window is shown, so no display is
      // needed: the program picks the offscreen platform.
      std::unique_ptr<QCoreApplication> app;
      if (parsed.Options.DrawsChart()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        RegisterPlatformFonts();
      } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
      }
      QCoreApplication::setApplicationName(QStringLiteral("Lumio Spectrometer"));
      QCoreApplication::setApplicationVersion(QString::fromLatin1(kLumioVersion));
      return RunCommandLine(parsed.Options);
    }
    case TCliParse::Window:
      break;
  }
  QApplication app(argc, argv);
  TLumioWindows windows = CreateLumioWindows();
  windows.Form1->show();
  if (!parsed.Options.Workspace.isEmpty()) {
    const QString file = parsed.Options.Workspace;
    TForm1* form = windows.Form1.get();
    TForm1::RunCommand([form, file] { form->OpenWorkspace(file); });
  }
  return app.exec();
}
