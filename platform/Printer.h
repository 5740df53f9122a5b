#pragma once
// The printer: document bracket over a QPrinter. Tests install a recording printer.
#include <QString>
#include <memory>

class QPrinter;
class QPainter;

class TPrinter {
 public:
  TPrinter();
  virtual ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  QString Title;
  virtual void BeginDoc();
  virtual void EndDoc();
  virtual void NewPage();
  virtual void Abort();
  bool Printing() const { return printing_; }
  QPrinter& QtPrinter();
  // Replaces the Qt printer by a new one with the same settings (printer, file, page layout,
  // copies, colour, duplex), for a device left unusable by a failed document.
  void RenewDevice();
  QPainter* Painter() { return painter_.get(); }
  // While a document for a file is open: the file it goes to, and the temporary file beside it
  // that holds it until it is complete (empty otherwise).
  const QString& TargetFile() const { return target_; }
  const QString& PartialFile() const { return partial_; }

 protected:
  bool printing_ = false;

 private:
  void RestoreOutputFile();
  QString target_, partial_;
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
};

// A printer that sends nothing anywhere and counts what it was asked to do.
class TRecordingPrinter : public TPrinter {
 public:
  TRecordingPrinter();
  ~TRecordingPrinter() override;
  void BeginDoc() override;
  void EndDoc() override;
  void NewPage() override;
  void Abort() override;
  int Jobs = 0;         // documents ended
  int Pages = 0;        // pages begun
  QString LastTitle;

 private:
  TPrinter* previous_;
};

TPrinter& Printer();
void SetPrinter(TPrinter* printer);  // nullptr goes back to the system printer

// Paper orientation, in the platform's order.
enum TPrinterOrientation : int { poPortrait, poLandscape };
