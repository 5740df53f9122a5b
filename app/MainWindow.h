#pragma once
// The main window: two picture panes with their file browsers, the chart with the plot
// controls, and the calibration boxes of the sample and the reference.
#include <QMainWindow>
#include <functional>
#include <memory>

#include "app/SpectrumRecord.h"
#include "app/Transmittance.h"
#include "chart/core/iXYPlot.h"
#include "platform/Bitmap.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
class TForm2;
class TForm3;
class TImage;
class TRadioGroup;
class TUpDown;
class TWrapButton;
class TCalibrationDialog;
class TLiveController;
struct TPlotRequest;
struct TPolynomialFit;
struct TWorkspace;

enum TSide { sdSample, sdReference };

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The other two windows of the program; set by whoever creates them.
  TForm2* Form2 = nullptr;
  TForm3* Form3 = nullptr;

  QWidget* Client;  // the 1016 x 754 client area under the menu
  QScrollArea* ScrollBox1;
  TImage* Image1;
  TDriveComboBox* DriveComboBox1;
  TDirectoryListBox* DirectoryListBox1;
  TFileListBox* FileListBox1;
  QScrollArea* ScrollBox2;
  TImage* Image2;
  TDriveComboBox* DriveComboBox2;
  TDirectoryListBox* DirectoryListBox2;
  TFileListBox* FileListBox2;
  QLabel* Label[21] = {};  // Label[1] .. Label[20]
  TRadioGroup* RadioGroup1;
  TRadioGroup* RadioGroup2;
  TWrapButton* Button1;
  TWrapButton* Button2;
  TiXYPlot* iXYPlot1;
  QLineEdit* Edit[14] = {};  // Edit[1] .. Edit[13]
  TUpDown* UpDown1;

  QMenu* File1;
  QAction* LoadSample1;
  QAction* LoadReference1;
  QAction* LiveSample1;
  QAction* LiveReference1;
  QAction* Print1;
  QAction* PrintSetup1;
  QAction* CSVFileExport1;
  QAction* SaveJcamp1;
  QAction* Exit1;
  QAction* About1;
  QAction* OpenWorkspace1;
  QAction* SaveWorkspace1;
  QMenu* Calibration1;
  QAction* CalibrateSample1;
  QAction* CalibrateReference1;
  QAction* LabelPeaks1;
  // "Quadratic calibration in force", beside each side's wavelength boxes.
  QLabel* QuadraticNote[2] = {};
  // The file each side's picture was loaded from; empty when the side is not loaded.
  QString PicturePath[2];
  // The last plot's warning about clipped pixels in the marked band; empty when there was none.
  QString SaturationText;
  // Runs the calibration dialog; modal by default, tests answer it in place.
  std::function<void(TCalibrationDialog&)> RunCalibrationDialog;

  TSpectrumRecord Sample;
  TSpectrumRecord Reference;
  TBitmap SampleBitmap;
  TBitmap ReferenceBitmap;
  bool SampleLoaded = false;
  bool ReferenceLoaded = false;
  TTransmittanceResult Transmittance;
  // The bitmaps the two views show: the side's copy with the marks drawn on it.
  TBitmap Image1Bitmap;
  TBitmap Image2Bitmap;

  // Reads the record's seven boxes into it; raises EConvertError for a box that does not convert.
  void ReadParameters(TSpectrumRecord& record);
  // ReadParameters, then the marks of that side when its picture is loaded.
  void RefreshRecord(TSpectrumRecord& record);
  bool CheckIntegerEntry(QLineEdit* box, int minimum, int maximum);
  bool CheckRealEntry(QLineEdit* box, double minimum, double maximum);
  // The box exit rule of one calibration box: check, then refresh, or send the focus back.
  void EditExit(QLineEdit* box);
  // One step of the band-width up-down control stores the box's integer into both records.
  bool UpDown1Changing();

  // Loads a picture file into the side's view; JPEG pictures load the side.
  void LoadPicture(const QString& fileName, TSide side);
  // The Load menu items: the open dialog, then LoadPicture.
  void LoadSample1Click();
  void LoadReference1Click();
  // A click in a view: asks what the point under the cursor is and stores it.
  void PickPoint(TSide side);
  // The picture position under a screen point, as PickPoint takes it.
  QPoint PicturePosition(TSide side, const QPoint& screenPos) const;

  void DrawSpectrumMarks(TSide side);
  // Shows the side's copy in its view without marks.
  void ShowUnmarked(TSide side);

  // "Make Plot Compute T Compute A": reads the boxes, extracts both pictures, computes the
  // transmittance when both are loaded and plots the chosen trace against the chosen abscissa.
  void Button1Click();
  // The first steps of Button1Click: the trace and abscissa chosen and the records read from their
  // boxes. False when no valid choice is made.
  bool ReadPlotRequest(TPlotRequest& request);
  // The last steps: the chart filled from the computed records, with the saturation note.
  void PlotComputed(const TPlotRequest& request, const QString& note);
  // A live frame becomes the side's picture, as a loaded photograph does: shown with its marks.
  void ShowLiveFrame(TSide side, const TBitmap& frame);

  // "Generate CSV File for Excel": appends the profiles and the result to the chosen file.
  void Button2Click();
  // "Save Spectrum as JCAMP-DX...": the last plot's spectrum, as the command line's --jcamp writes it.
  void SaveJcamp1Click();
  // The name the CSV save dialog proposes: the layout's name, then the last one chosen.
  QString CsvFileName;

  // "Calibrate Sample/Reference from Lamp...": the side's lamp photograph (asked for when the
  // side has none), its marks and band, the dialog, and the accepted fit.
  void CalibrateFromLampClick(TSide side);
  // The linear fit as the two wavelengths of the linear rule; the quadratic one into the record.
  // False, after a message, when the fit leaves the range the wavelength boxes accept.
  bool AcceptLinearCalibration(TSide side, const TPolynomialFit& fit, int rows);
  bool AcceptQuadraticCalibration(TSide side, const TPolynomialFit& fit, int rows);
  // Typing a wavelength ends a quadratic calibration: the side follows the linear rule again.
  void RevertToLinear(TSide side);
  // Peak labels on the plotted intensity traces, when "Label Peaks" is checked; none otherwise.
  void LabelPeaks();

  // Workspaces: both pictures, marks, wavelengths, band width, quadratic calibrations, the trace
  // and abscissa choice.
  void SaveWorkspace1Click();
  void OpenWorkspace1Click();
  TWorkspace CurrentWorkspace();
  void SaveWorkspace(const QString& fileName);
  // A refused file changes nothing; a missing picture is reported and the rest restored.
  void OpenWorkspace(const QString& fileName);

  void Print1Click();
  void PrintSetup1Click();
  void About1Click();

  TSpectrumRecord& Record(TSide side) { return side == sdSample ? Sample : Reference; }
  TImage* View(TSide side) const { return side == sdSample ? Image1 : Image2; }
  QScrollArea* ScrollBox(TSide side) const { return side == sdSample ? ScrollBox1 : ScrollBox2; }
  bool Loaded(TSide side) const { return side == sdSample ? SampleLoaded : ReferenceLoaded; }
  TBitmap& Copy(TSide side) { return side == sdSample ? SampleBitmap : ReferenceBitmap; }
  TBitmap& ViewBitmap(TSide side) { return side == sdSample ? Image1Bitmap : Image2Bitmap; }

  // The live sides: sources, live plot, freeze, averaging, dark frames.
  std::unique_ptr<TLiveController> Live;

  // Runs one user command: the platform's own errors end it with their message box.
  static void RunCommand(const std::function<void()>& command);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void LoadFromDialog(TSide side);
  // Empties the side's view and the bitmap it showed.
  void EmptyView(TSide side);
  // A file that cannot be shown at all: empty view, side not loaded, the failure's message.
  void Unloadable(TSide side, const QString& message);
  void SetLoaded(TSide side, bool loaded) { (side == sdSample ? SampleLoaded : ReferenceLoaded) = loaded; }
  void BuildMenu();
  QLineEdit* MakeEdit(int index, int left, int top, int width);
  void ShowQuadraticNote(TSide side);
  bool exiting_ = false;
  // The trace and abscissa of the last plot (-1: none yet), which the peak labels follow.
  int plottedTrace_ = -1, plottedAbscissa_ = 0;  // a box exit is being handled: focus moves it causes are not exits
};

// The picture types the file lists show.
extern const char* const kPictureMask;
