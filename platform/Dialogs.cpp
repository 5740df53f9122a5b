#include "platform/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/Printer.h"

namespace {
QWidget* ActiveParent() { return QApplication::activeWindow(); }

class TQtDialogs final : public TDialogs {
 public:
  void ShowMessage(const QString& text) override {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, ActiveParent());
    box.exec();
  }
  bool ExecuteOpen(const TOpenDialogOptions& o, QString& fileName) override {
    QFileDialog dlg(ActiveParent(), o.Title, o.InitialDir, ToQtFilter(o.Filter));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(o.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    fileName = dlg.selectedFiles().first();
    return true;
  }
  bool ExecuteSave(const TSaveDialogOptions& o, QString& fileName) override {
    QFileDialog dlg(ActiveParent(), o.Title, o.InitialDir, ToQtFilter(o.Filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(o.DefaultExt);
    if (!o.OverwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (!o.FileName.isEmpty()) dlg.selectFile(o.FileName);
    const QStringList filters = dlg.nameFilters();
    if (o.FilterIndex >= 1 && o.FilterIndex <= filters.size()) dlg.selectNameFilter(filters[o.FilterIndex - 1]);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    fileName = dlg.selectedFiles().first();
    if (o.ChosenFilterIndex) {
      const qsizetype chosen = filters.indexOf(dlg.selectedNameFilter());
      *o.ChosenFilterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : o.FilterIndex;
    }
    return true;
  }
  bool AskYesNo(const QString& text) override {
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text, QMessageBox::Yes | QMessageBox::No,
                    ActiveParent());
    return box.exec() == QMessageBox::Yes;
  }
  bool ExecutePrint() override {
    QPrintDialog dlg(&Printer().QtPrinter(), ActiveParent());
    return dlg.exec() == QDialog::Accepted;
  }
  bool ExecutePrinterSetup() override {
    QPageSetupDialog dlg(&Printer().QtPrinter(), ActiveParent());
    return dlg.exec() == QDialog::Accepted;
  }
};

TQtDialogs g_qtDialogs;
TDialogs* g_dialogs = nullptr;
thread_local TMessageCapture* t_capture = nullptr;
}  // namespace

TDialogs& Dialogs() {
  if (t_capture) return *t_capture;
  return g_dialogs ? *g_dialogs : g_qtDialogs;
}

TMessageCapture::TMessageCapture() : previous_(t_capture) { t_capture = this; }
TMessageCapture::~TMessageCapture() { t_capture = previous_; }
void SetDialogs(TDialogs* dialogs) { g_dialogs = dialogs; }

QString ToQtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    // Qt's dialog shows the whole entry and takes the patterns from its closing parentheses. A
    // description that already ends with its patterns ("JPeg Files (*.JPG)") stands as it is,
    // instead of showing them twice.
    if (description.endsWith(QStringLiteral("(%1)").arg(patterns)))
      out << description;
    else
      out << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  return out.join(QStringLiteral(";;"));
}

TDialogRecorder::TDialogRecorder() : previous_(g_dialogs) { SetDialogs(this); }
TDialogRecorder::~TDialogRecorder() { SetDialogs(previous_); }

void TDialogRecorder::ShowMessage(const QString& text) {
  Messages << text;
  if (OnMessage) OnMessage(text);
}
bool TDialogRecorder::ExecuteOpen(const TOpenDialogOptions& options, QString& fileName) {
  OpenRequests.push_back(options);
  if (OpenAnswer.isEmpty()) return false;
  fileName = OpenAnswer;
  return true;
}
bool TDialogRecorder::ExecuteSave(const TSaveDialogOptions& options, QString& fileName) {
  SaveRequests.push_back(options);
  if (SaveAnswer.isEmpty()) return false;
  fileName = SaveAnswer;
  if (options.ChosenFilterIndex) *options.ChosenFilterIndex = SaveFilterAnswer > 0 ? SaveFilterAnswer : options.FilterIndex;
  if (!options.DefaultExt.isEmpty() && QFileInfo(fileName).suffix().isEmpty()) fileName += QLatin1Char('.') + options.DefaultExt;
  return true;
}
bool TDialogRecorder::ExecutePrint() {
  ++PrintDialogs;
  return PrintAnswer;
}
bool TDialogRecorder::AskYesNo(const QString& text) {
  Questions << text;
  return YesNoAnswer;
}
bool TDialogRecorder::ExecutePrinterSetup() {
  ++PrinterSetupDialogs;
  return false;
}
