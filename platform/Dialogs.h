#pragma once
// User dialogs behind one seam each, so that tests can answer them without a window.
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;

struct TOpenDialogOptions {
  QString Title;
  QString Filter;            // "Description | *.ext" pairs separated by bars
  QString InitialDir;
  bool FileMustExist = true;
  bool HideReadOnly = true;
};

struct TSaveDialogOptions {
  QString Title;
  QString Filter;
  int FilterIndex = 1;
  QString DefaultExt;        // added when the chosen name has no extension
  QString FileName;          // proposed name
  QString InitialDir;
  bool OverwritePrompt = false;
  int* ChosenFilterIndex = nullptr;  // when given, receives the 1-based filter chosen on OK
};

// The dialogs the program shows. Production uses the Qt dialogs; tests install a recorder.
class TDialogs {
 public:
  virtual ~TDialogs() = default;
  virtual void ShowMessage(const QString& text) = 0;
  // On OK, fileName receives the chosen path and the result is true.
  virtual bool ExecuteOpen(const TOpenDialogOptions& options, QString& fileName) = 0;
  virtual bool ExecuteSave(const TSaveDialogOptions& options, QString& fileName) = 0;
  virtual bool ExecutePrint() = 0;
  virtual bool ExecutePrinterSetup() = 0;
  // A question with Yes and No; true for Yes.
  virtual bool AskYesNo(const QString& text) = 0;
};

// The dialogs in force. Defaults to the Qt dialogs parented to the active window.
TDialogs& Dialogs();
// Installs other dialogs (a test recorder); nullptr goes back to the Qt dialogs.
void SetDialogs(TDialogs* dialogs);

inline void ShowMessage(const QString& text) { Dialogs().ShowMessage(text); }

// While it lives, the messages shown on the thread that made it are kept in `Messages` instead of
// being shown (the other dialogs answer Cancel/No): work on a worker thread must not open windows,
// and work repeated for every frame of a video reports its messages once, afterwards.
class TMessageCapture final : public TDialogs {
 public:
  TMessageCapture();
  ~TMessageCapture() override;
  TMessageCapture(const TMessageCapture&) = delete;
  TMessageCapture& operator=(const TMessageCapture&) = delete;

  void ShowMessage(const QString& text) override { Messages << text; }
  bool ExecuteOpen(const TOpenDialogOptions&, QString&) override { return false; }
  bool ExecuteSave(const TSaveDialogOptions&, QString&) override { return false; }
  bool ExecutePrint() override { return false; }
  bool ExecutePrinterSetup() override { return false; }
  bool AskYesNo(const QString&) override { return false; }

  QStringList Messages;

 private:
  TMessageCapture* previous_;
};

// Converts the platform's "Description | *.a;*.b | ..." filter into Qt's "Description (*.a *.b);;...".
QString ToQtFilter(const QString& filter);

// A recorder for tests: keeps every message and answers the file dialogs from a script.
class TDialogRecorder : public TDialogs {
 public:
  TDialogRecorder();
  ~TDialogRecorder() override;
  TDialogRecorder(const TDialogRecorder&) = delete;
  TDialogRecorder& operator=(const TDialogRecorder&) = delete;

  void ShowMessage(const QString& text) override;
  bool ExecuteOpen(const TOpenDialogOptions& options, QString& fileName) override;
  bool ExecuteSave(const TSaveDialogOptions& options, QString& fileName) override;
  bool ExecutePrint() override;
  bool ExecutePrinterSetup() override;
  bool AskYesNo(const QString& text) override;

  QStringList Messages;
  QStringList Questions;
  bool YesNoAnswer = false;
  int SaveFilterAnswer = 0;  // the filter the save dialog reports as chosen; 0 keeps the one proposed
  std::function<void(const QString&)> OnMessage;   // runs when a message is shown
  // Answers: an empty optional-like value (isNull) cancels.
  QString OpenAnswer;
  QString SaveAnswer;
  bool PrintAnswer = false;
  int PrintDialogs = 0;
  int PrinterSetupDialogs = 0;
  std::vector<TOpenDialogOptions> OpenRequests;
  std::vector<TSaveDialogOptions> SaveRequests;

 private:
  TDialogs* previous_;
};
