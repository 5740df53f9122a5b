#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "app/AboutWindow.h"
#include "app/ChartSetup.h"
#include "app/PlotAssembly.h"
#include "app/SpectrumCore.h"
#include "app/JcampExport.h"
#include "chart/core/iErrors.h"
#include "chart/core/iXYPlot.h"
#include "app/CsvExport.h"
#include "app/EntryCheck.h"
#include "app/PointMeaningDialog.h"
#include "app/calibration/Calibration.h"
#include "app/calibration/CalibrationDialog.h"
#include "app/calibration/PeakLabels.h"
#include "app/calibration/Workspace.h"
#include "app/live/LiveController.h"
#include "chart/decorations/rUdudAnnotation.h"
#include <QFileInfo>
#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Convert.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/Picture.h"
#include "platform/Printer.h"
#include "platform/TextFile.h"

const char* const kPictureMask = kPictureFileMask;

namespace {
constexpr int kEditHeight = 21;

QFont PixelFont(const QFont& base, int pixels, bool bold = false) {
  QFont f = base;
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}
}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Lumio Spectrometer"));
  setWindowIcon(QIcon(QPixmap::fromImage(ProgramPicture(32, 32))));
  TFont tahoma;
  setFont(tahoma.ToQFont());
  BuildMenu();
  BuildControls();
  move(0, 0);

  // Window creation: file masks, empty pictures, bound boxes with their defaults, buttons off.
  FileListBox1->SetMask(QString::fromLatin1(kPictureMask));
  FileListBox2->SetMask(QString::fromLatin1(kPictureMask));
  SampleBitmap = TBitmap();
  ReferenceBitmap = TBitmap();
  SampleLoaded = ReferenceLoaded = false;
  const int sampleBoxes[7] = {1, 4, 2, 3, 5, 6, 7};
  const int referenceBoxes[7] = {8, 11, 9, 10, 12, 13, 7};
  for (int k = 0; k < 7; ++k) {
    Sample.Binding[k] = Edit[sampleBoxes[k]];
    Reference.Binding[k] = Edit[referenceBoxes[k]];
  }
  Button1->setEnabled(false);
  Button2->setEnabled(false);

  FileListBox1->OnDblClick = [this] { RunCommand([this] { LoadPicture(FileListBox1->FileName(), sdSample); }); };
  FileListBox2->OnDblClick = [this] { RunCommand([this] { LoadPicture(FileListBox2->FileName(), sdReference); }); };
  connect(LoadSample1, &QAction::triggered, this, [this] { RunCommand([this] { LoadSample1Click(); }); });
  connect(LoadReference1, &QAction::triggered, this, [this] { RunCommand([this] { LoadReference1Click(); }); });
  Image1->OnClick = [this] { RunCommand([this] { PickPoint(sdSample); }); };
  Image2->OnClick = [this] { RunCommand([this] { PickPoint(sdReference); }); };

  // Only typing (not the program's own setText) ends a quadratic calibration.
  for (int n : {1, 4, 8, 11}) {
    const TSide side = n < 8 ? sdSample : sdReference;
    connect(Edit[n], &QLineEdit::textEdited, this, [this, side] { RunCommand([this, side] { RevertToLinear(side); }); });
  }
  RunCalibrationDialog = [](TCalibrationDialog& dialog) { dialog.exec(); };
  Live = std::make_unique<TLiveController>(*this);
  connect(LiveSample1, &QAction::triggered, this, [this] { RunCommand([this] { Live->LiveClick(sdSample); }); });
  connect(LiveReference1, &QAction::triggered, this, [this] { RunCommand([this] { Live->LiveClick(sdReference); }); });
}

TForm1::~TForm1() { Live.reset(); }  // the live sides end before the views they draw into

QLineEdit* TForm1::MakeEdit(int index, int left, int top, int width) {
  auto* e = new QLineEdit(Client);
  e->setObjectName(QStringLiteral("Edit%1").arg(index));
  e->setGeometry(left, top, width, kEditHeight);
  e->installEventFilter(this);
  Edit[index] = e;
  return e;
}

void TForm1::BuildMenu() {
  File1 = menuBar()->addMenu(QStringLiteral("&File"));
  LoadSample1 = File1->addAction(QStringLiteral("Load Sample (&Left)"));
  LoadReference1 = File1->addAction(QStringLiteral("Load Reference (&Right)"));
  LiveSample1 = File1->addAction(QStringLiteral("Live Sample..."));
  LiveReference1 = File1->addAction(QStringLiteral("Live Reference..."));
  File1->addSeparator();
  OpenWorkspace1 = File1->addAction(QStringLiteral("Open Workspace..."));
  SaveWorkspace1 = File1->addAction(QStringLiteral("Save Workspace..."));
  File1->addSeparator();
  Print1 = File1->addAction(QStringLiteral("&Print"));
  PrintSetup1 = File1->addAction(QStringLiteral("Print Setup"));
  File1->addSeparator();
  CSVFileExport1 = File1->addAction(QStringLiteral("CS&V File Export"));  // the export is on Button2
  SaveJcamp1 = File1->addAction(QStringLiteral("Save Spectrum as JCAMP-DX..."));
  File1->addSeparator();
  Exit1 = File1->addAction(QStringLiteral("E&xit"));
  Calibration1 = menuBar()->addMenu(QStringLiteral("&Calibration"));
  CalibrateSample1 = Calibration1->addAction(QStringLiteral("Calibrate Sample from Lamp..."));
  CalibrateReference1 = Calibration1->addAction(QStringLiteral("Calibrate Reference from Lamp..."));
  Calibration1->addSeparator();
  LabelPeaks1 = Calibration1->addAction(QStringLiteral("Label Peaks"));
  LabelPeaks1->setCheckable(true);
  About1 = menuBar()->addAction(QStringLiteral("&About"));

  connect(OpenWorkspace1, &QAction::triggered, this, [this] { RunCommand([this] { OpenWorkspace1Click(); }); });
  connect(SaveWorkspace1, &QAction::triggered, this, [this] { RunCommand([this] { SaveWorkspace1Click(); }); });
  connect(CalibrateSample1, &QAction::triggered, this, [this] { RunCommand([this] { CalibrateFromLampClick(sdSample); }); });
  connect(CalibrateReference1, &QAction::triggered, this,
          [this] { RunCommand([this] { CalibrateFromLampClick(sdReference); }); });
  connect(LabelPeaks1, &QAction::toggled, this, [this] { RunCommand([this] { LabelPeaks(); }); });

  connect(SaveJcamp1, &QAction::triggered, this, [this] { RunCommand([this] { SaveJcamp1Click(); }); });
  connect(Print1, &QAction::triggered, this, [this] { RunCommand([this] { Print1Click(); }); });
  connect(PrintSetup1, &QAction::triggered, this, [this] { RunCommand([this] { PrintSetup1Click(); }); });
  connect(Exit1, &QAction::triggered, this, &QWidget::close);
  connect(About1, &QAction::triggered, this, [this] { RunCommand([this] { About1Click(); }); });
}

void TForm1::BuildControls() {
  Client = new QWidget(this);
  Client->setFixedSize(1016, 754);
  setCentralWidget(Client);

  auto makePane = [this](int left, QScrollArea*& box, TImage*& image, const char* boxName, const char* imageName) {
    box = new QScrollArea(Client);
    box->setObjectName(QString::fromLatin1(boxName));
    box->setGeometry(left, 0, 420, 400);
    box->setWidgetResizable(false);
    // A click into the picture (or its scroll bars) must not take the focus from a calibration
    // box: the box's exit check would run inside the press, before the point is picked.
    box->setFocusPolicy(Qt::NoFocus);
    image = new TImage;
    image->setObjectName(QString::fromLatin1(imageName));
    box->setWidget(image);
  };
  makePane(0, ScrollBox1, Image1, "ScrollBox1", "Image1");
  makePane(600, ScrollBox2, Image2, "ScrollBox2", "Image2");

  auto makeBrowser = [this](int driveTop, int dirTop, int fileTop, int fileHeight, TDriveComboBox*& drive,
                            TDirectoryListBox*& dirs, TFileListBox*& files, int n) {
    drive = new TDriveComboBox(Client);
    drive->setObjectName(QStringLiteral("DriveComboBox%1").arg(n));
    drive->setGeometry(439, driveTop, 145, 20);
    dirs = new TDirectoryListBox(Client);
    dirs->setObjectName(QStringLiteral("DirectoryListBox%1").arg(n));
    dirs->setGeometry(439, dirTop, 145, fileTop - dirTop - 2);
    files = new TFileListBox(Client);
    files->setObjectName(QStringLiteral("FileListBox%1").arg(n));
    files->setGeometry(439, fileTop, 145, fileHeight);
    drive->DirList = dirs;
    dirs->FileList = files;
    files->SetDirectory(dirs->Directory());
    // The drive box shows the volume that holds the current folder.
    QString volume = QDir::rootPath();
    for (const QString& root : TDriveComboBox::Drives())
      if (dirs->Directory().startsWith(root) && root.size() > volume.size()) volume = root;
    drive->SetDrive(volume);
  };
  makeBrowser(-1, 19, 115, 70, DriveComboBox1, DirectoryListBox1, FileListBox1, 1);
  makeBrowser(215, 235, 329, 70, DriveComboBox2, DirectoryListBox2, FileListBox2, 2);

  const QFont bold = PixelFont(font(), 11, true);
  Label[1] = MakeWrappedLabel(QStringLiteral("< S a m p l e <"), Client, 424, 40, 12, 150);
  Label[1]->setFont(bold);
  Label[2] = MakeWrappedLabel(QStringLiteral("> R e f e r e n c e >"), Client, 588, 216, 12, 184);
  Label[2]->setFont(bold);
  const QString bars = QStringLiteral("| | | | | | | | | | | | | | |");
  Label[3] = MakeWrappedLabel(QStringLiteral("___________________________"), Client, 428, 186, 170, 14);
  Label[4] = MakeWrappedLabel(bars, Client, 428, 198, 6, 200);
  Label[5] = MakeWrappedLabel(bars, Client, 590, 4, 6, 200);
  for (int i : {3, 4, 5}) {
    SetControlTextColor(Label[i], QColor(255, 0, 0));
  }

  RadioGroup1 = new TRadioGroup(QStringLiteral("Plot Trace Selection"),
                                {QStringLiteral("Intensity (Sample)"), QStringLiteral("Intensity (Reference)"),
                                 QStringLiteral("Intensity (Both)"), QStringLiteral("Transmittance"),
                                 QStringLiteral("Absorbance")},
                                Client);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  RadioGroup1->setGeometry(0, 400, 153, 132);
  RadioGroup1->SetItemIndex(0);
  RadioGroup2 = new TRadioGroup(QStringLiteral("Abscissa Selection"),
                                {QStringLiteral("Pixel Number"), QStringLiteral("Wavelength (nm)")}, Client);
  RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
  RadioGroup2->setGeometry(0, 538, 153, 65);
  RadioGroup2->SetItemIndex(0);

  Button1 = new TWrapButton(QStringLiteral("Make Plot Compute T Compute A"), Client);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(30, 609, 75, 42);
  Button2 = new TWrapButton(QStringLiteral("Generate CSV File for Excel"), Client);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setGeometry(30, 671, 75, 42);
  CsvFileName = QString::fromLatin1(kCsvProposedName);
  connect(Button2, &QPushButton::clicked, this, [this] { RunCommand([this] { Button2Click(); }); });

  iXYPlot1 = new TiXYPlot(Client);
  iXYPlot1->setObjectName(QStringLiteral("iXYPlot1"));
  iXYPlot1->setGeometry(159, 400, kSpectrumChartWidth, kSpectrumChartHeight);
  ConfigureSpectrumChart(*iXYPlot1);
  connect(Button1, &QPushButton::clicked, this, [this] { RunCommand([this] { Button1Click(); }); });

  const QFont headingFont = PixelFont(font(), 13);
  auto label = [this](int n, const QString& text, int left, int top) {
    Label[n] = new QLabel(text, Client);
    Label[n]->setObjectName(QStringLiteral("Label%1").arg(n));
    Label[n]->move(left, top);
    Label[n]->adjustSize();
    return Label[n];
  };
  for (auto [n, text, left, top] : std::initializer_list<std::tuple<int, const char*, int, int>>{
           {6, "Sample Spectrum Parameters", 736, 410},
           {7, "Reference Spectrum Parameters", 736, 589},
           {8, "Spectrum Width (Pixels)", 736, 534}}) {
    label(n, QString::fromLatin1(text), left, top)->setFont(headingFont);
    Label[n]->adjustSize();
  }
  for (auto [n, text, left, top] : std::initializer_list<std::tuple<int, const char*, int, int>>{
           {9, "Blue Wavelength (nm)", 678, 458}, {10, "Red Wavelength (nm)", 678, 505},
           {15, "Blue Wavelength (nm)", 678, 638}, {18, "Red Wavelength (nm)", 678, 684},
           {11, "x (pixels)", 804, 458}, {12, "y (pixels)", 892, 458},
           {13, "x (pixels)", 805, 505}, {14, "y (pixels)", 892, 505},
           {16, "x (pixels)", 804, 638}, {17, "y (pixels)", 892, 638},
           {19, "x (pixels)", 804, 684}, {20, "y (pixels)", 892, 684}})
    label(n, QString::fromLatin1(text), left, top);
  for (int n : {1, 2, 3, 4, 5}) Label[n]->setObjectName(QStringLiteral("Label%1").arg(n));

  for (auto [n, left, top, width] : std::initializer_list<std::tuple<int, int, int, int>>{
           {1, 673, 432, 105}, {2, 799, 432, 73}, {3, 887, 432, 73},
           {4, 673, 478, 105}, {5, 800, 478, 73}, {6, 887, 478, 73},
           {7, 736, 556, 33},
           {8, 672, 611, 105}, {9, 799, 611, 73}, {10, 887, 611, 73},
           {11, 672, 657, 105}, {12, 799, 657, 73}, {13, 887, 657, 73}})
    MakeEdit(n, left, top, width);
  for (int n : {1, 4, 8, 11}) Edit[n]->setText(QString::fromLatin1(n == 1 || n == 8 ? "400.0" : "720.0"));
  for (int n : {2, 3, 5, 6, 9, 10, 12, 13}) Edit[n]->setText(QStringLiteral("0"));
  for (int side : {0, 1}) {
    QLabel* note = new QLabel(QStringLiteral("Quadratic calibration in force"), Client);
    note->setObjectName(side == 0 ? QStringLiteral("SampleQuadraticNote") : QStringLiteral("ReferenceQuadraticNote"));
    note->setGeometry(962, side == 0 ? 440 : 619, 54, 56);
    note->setWordWrap(true);
    SetControlTextColor(note, QColor(0, 0, 160));
    note->hide();
    QuadraticNote[side] = note;
  }

  UpDown1 = new TUpDown(Client);
  UpDown1->setObjectName(QStringLiteral("UpDown1"));
  UpDown1->setGeometry(769, 556, 16, kEditHeight);
  UpDown1->SetMin(1);
  UpDown1->SetMax(100);
  UpDown1->SetAssociate(Edit[7]);
  UpDown1->SetPosition(1);
  UpDown1->OnChanging = [this](TUpDown::TUDBtnType) {
    bool allowed = false;
    RunCommand([&] { allowed = UpDown1Changing(); });
    return allowed;
  };
}

// ---- records and boxes ----

void TForm1::ReadParameters(TSpectrumRecord& r) {
  r.BlueWavelength = StrToFloat(r.Binding[0]->text());
  r.RedWavelength = StrToFloat(r.Binding[1]->text());
  r.BlueX = StrToInt(r.Binding[2]->text());
  r.BlueY = StrToInt(r.Binding[3]->text());
  r.RedX = StrToInt(r.Binding[4]->text());
  r.RedY = StrToInt(r.Binding[5]->text());
  r.BandWidth = StrToInt(r.Binding[6]->text());
}

void TForm1::RefreshRecord(TSpectrumRecord& r) {
  ReadParameters(r);
  const TSide side = &r == &Sample ? sdSample : sdReference;
  if (Loaded(side)) DrawSpectrumMarks(side);
}

namespace {
// The box takes the check's result: its text when accepted or clamped, the focus back when refused.
bool TakeEntry(QLineEdit* box, const TEntryCheck& check) {
  if (!check.Message.isEmpty()) ShowMessage(check.Message);
  if (check.State == TEntryCheck::Refused) return false;
  box->setText(check.Text);
  return true;
}
}  // namespace

bool TForm1::CheckIntegerEntry(QLineEdit* box, int minimum, int maximum) {
  return TakeEntry(box, CheckIntegerText(box->text(), minimum, maximum));
}

bool TForm1::CheckRealEntry(QLineEdit* box, double minimum, double maximum) {
  return TakeEntry(box, CheckRealText(box->text(), minimum, maximum));
}

void TForm1::EditExit(QLineEdit* box) {
  if (exiting_) return;
  exiting_ = true;
  RunCommand([&] {
    auto& e = Edit;
    bool ok = true;
    TSpectrumRecord* refresh = nullptr;
    const bool sample = box == e[1] || box == e[2] || box == e[3] || box == e[4] || box == e[5] || box == e[6];
    const QWidget* view = sample ? Image1 : Image2;
    if (box == e[1] || box == e[8]) {
      QLineEdit* red = box == e[1] ? e[4] : e[11];
      ok = CheckRealEntry(box, 200.0, StrToFloat(red->text()) - 1);
    } else if (box == e[4] || box == e[11]) {
      QLineEdit* blue = box == e[4] ? e[1] : e[8];
      ok = CheckRealEntry(box, StrToFloat(blue->text()) + 1, 999.9);
    } else if (box == e[2] || box == e[5] || box == e[9] || box == e[12]) {
      ok = CheckIntegerEntry(box, 0, view->width());
    } else if (box == e[3] || box == e[6] || box == e[10] || box == e[13]) {
      ok = CheckIntegerEntry(box, 0, view->height());
    } else if (box == e[7]) {
      ok = CheckIntegerEntry(box, 1, 99);
      if (ok) {
        Sample.BandWidth = Reference.BandWidth = StrToInt(box->text());
        RefreshRecord(Sample);
        RefreshRecord(Reference);
      }
      refresh = nullptr;
    } else {
      return;
    }
    if (box != e[7]) refresh = sample ? &Sample : &Reference;
    if (!ok) {
      box->setFocus(Qt::OtherFocusReason);
      return;
    }
    if (refresh) RefreshRecord(*refresh);
  });
  exiting_ = false;
}

bool TForm1::UpDown1Changing() {
  const int value = StrToInt(Edit[7]->text());
  Sample.BandWidth = Reference.BandWidth = value;
  return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !exiting_) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Switching windows or opening a menu does not leave the box.
    if (box && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      // Checked once the focus has settled, so that the check's message box and the focus
      // return do not run inside the focus change.
      QTimer::singleShot(0, this, [this, box] { EditExit(box); });
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (const EConvertError& e) {
    ShowMessage(e.Message);
  } catch (const EInOutError& e) {
    ShowMessage(e.Message);
  } catch (const EiError& e) {
    ShowMessage(e.Message);
  } catch (const std::exception& e) {
    ShowMessage(QString::fromLocal8Bit(e.what()));
  }
}

// ---- pictures ----

void TForm1::LoadPicture(const QString& fileName, TSide side) {
  if (Live) Live->Stop(side);  // a photograph ends the side's live run: no frame replaces it
  TImage* view = View(side);
  TPicture picture;
  bool invalid = false;
  try {
    picture = LoadPictureFile(fileName);
  } catch (const EInvalidGraphic&) {
    invalid = true;
  } catch (const EInOutError& e) {
    return Unloadable(side, e.Message);
  } catch (const EPictureError& e) {
    return Unloadable(side, e.Message);
  }

  if (!invalid && picture.Kind == pkJpeg) {
    Copy(side) = picture.Bitmap;
    SetLoaded(side, true);
    PicturePath[side] = QFileInfo(fileName).absoluteFilePath();
    // Enabled before the boxes are read, so that a box that does not convert does not leave a
    // loaded picture without its buttons.
    Button1->setEnabled(true);
    Button2->setEnabled(true);
    try {
      RefreshRecord(Record(side));  // shows the picture with its marks
    } catch (...) {
      ShowUnmarked(side);
      throw;
    }
    return;
  }

  EmptyView(side);
  if (!invalid && !picture.Image.isNull()) view->SetPicture(picture.Image);  // shown, but not used
  ShowMessage(QString::fromLatin1(kNotJpegMessage));
  SetLoaded(side, false);
  PicturePath[side].clear();
}

void TForm1::Unloadable(TSide side, const QString& message) {
  // Nothing of the file can be shown: the view is emptied and the side is not loaded.
  EmptyView(side);
  SetLoaded(side, false);
  PicturePath[side].clear();
  ShowMessage(message);
}

void TForm1::EmptyView(TSide side) {
  View(side)->Clear();  // back to the size of an empty view: the box limits follow what is shown
  ViewBitmap(side) = TBitmap();
}

void TForm1::LoadFromDialog(TSide side) {
  TOpenDialogOptions options;
  options.Filter = QStringLiteral("JPeg Files (*.JPG) | *.JPG");
  options.InitialDir = QDir::currentPath();
  options.FileMustExist = true;
  options.HideReadOnly = true;
  QString fileName;
  if (Dialogs().ExecuteOpen(options, fileName)) LoadPicture(fileName, side);
}

void TForm1::LoadSample1Click() { LoadFromDialog(sdSample); }
void TForm1::LoadReference1Click() { LoadFromDialog(sdReference); }

// ---- point picking ----

QPoint TForm1::PicturePosition(TSide side, const QPoint& screenPos) const {
  const QScrollArea* box = ScrollBox(side);
  const QPoint client = Client->mapFromGlobal(screenPos);
  const QPoint scroll(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value());
  // The viewport's offset inside the box is its border: without it the point would lie up and
  // left of the pixel under the cursor.
  return client + scroll - box->pos() - box->viewport()->pos();
}

void TForm1::PickPoint(TSide side) {
  const QPoint p = PicturePosition(side, View(side)->LastMouseScreenPos());
  if (!Form3) return;
  int result = Form3->ShowModalBeside(this);
  // The dialog ends only through its buttons or as "Neither Cancel"; any other end (the
  // application closing) counts as neither, so that the question is never asked forever.
  if (result != TForm3::mrYes && result != TForm3::mrNo && result != TForm3::mrCancel) Form3->Answer = 2;
  TSpectrumRecord& r = Record(side);
  QLineEdit* const* e = Edit;
  switch (Form3->Answer) {
    case 0:
      r.BlueX = p.x(), r.BlueY = p.y();
      (side == sdSample ? e[2] : e[9])->setText(IntToStr(p.x()));
      (side == sdSample ? e[3] : e[10])->setText(IntToStr(p.y()));
      break;
    case 1:
      r.RedX = p.x(), r.RedY = p.y();
      (side == sdSample ? e[5] : e[12])->setText(IntToStr(p.x()));
      (side == sdSample ? e[6] : e[13])->setText(IntToStr(p.y()));
      break;
    default:
      return;
  }
  // The marks belong to a loaded picture; another picture shown in the view gets none.
  if (Loaded(side)) DrawSpectrumMarks(side);
}

// ---- marks ----

namespace {
// Gives `to` the pixels of `from`. A bitmap of the same size and format that holds its pixels
// alone keeps its memory and gets them copied in: loading one photograph after another from the
// same camera then needs no new memory for the view.
void AssignPixels(TBitmap& to, const TBitmap& from) {
  const QImage& source = from.Image();
  QImage& target = to.Image();
  if (target.isNull() || source.isNull() || target.size() != source.size() || target.format() != source.format() ||
      to.PixelFormat() != from.PixelFormat() || !target.isDetached() || target.constBits() == source.constBits() ||
      target.bytesPerLine() != source.bytesPerLine()) {
    to = from;
    return;
  }
  std::memcpy(target.bits(), source.constBits(), static_cast<std::size_t>(source.sizeInBytes()));
}
}  // namespace

void TForm1::ShowUnmarked(TSide side) {
  View(side)->ReleasePicture();  // the view lets go of the pixels before they are overwritten
  AssignPixels(ViewBitmap(side), Copy(side));
  View(side)->SetPicture(ViewBitmap(side).Image());
}

namespace {
// Draws a mark line on a picture of w x h pixels, end point excluded. Lines whose ends lie
// within reach of the picture are drawn as they are; an end typed far off is first cut back to
// the picture's border, so that no coordinate overflows and the canvas does not walk billions of
// pixels outside the picture.
void DrawMarkLine(TCanvas& c, int w, int h, std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
  constexpr std::int64_t kReach = 1 << 16;
  const auto near = [&](std::int64_t x, std::int64_t y) {
    return x >= -kReach && y >= -kReach && x <= w + kReach && y <= h + kReach;
  };
  if (near(x1, y1) && near(x2, y2)) {
    c.MoveTo(static_cast<int>(x1), static_cast<int>(y1));
    c.LineTo(static_cast<int>(x2), static_cast<int>(y2));
    return;
  }
  // Liang-Barsky against the picture widened by one pixel all round.
  const double dx = static_cast<double>(x2 - x1), dy = static_cast<double>(y2 - y1);
  double t0 = 0, t1 = 1;
  const auto clip = [&](double p, double q) {
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  const double fx = static_cast<double>(x1), fy = static_cast<double>(y1);
  if (!clip(-dx, fx + 1) || !clip(dx, w - fx) || !clip(-dy, fy + 1) || !clip(dy, h - fy)) return;
  // An end that is kept stays exact (and the last point stays excluded); a cut end lies on the
  // widened border, outside the picture.
  std::int64_t sx = x1, sy = y1, ex = x2, ey = y2;
  if (t0 > 0) sx = std::llround(fx + dx * t0), sy = std::llround(fy + dy * t0);
  if (t1 < 1) ex = std::llround(fx + dx * t1), ey = std::llround(fy + dy * t1);
  c.MoveTo(static_cast<int>(sx), static_cast<int>(sy));
  c.LineTo(static_cast<int>(ex), static_cast<int>(ey));
}
}  // namespace

void TForm1::DrawSpectrumMarks(TSide side) {
  const TBitmap& copy = Copy(side);
  TBitmap& shown = ViewBitmap(side);
  View(side)->ReleasePicture();  // the view lets go of the pixels before they are overwritten
  AssignPixels(shown, copy);  // removes earlier marks
  const TSpectrumRecord& r = Record(side);
  // Only the red end is tested.
  if (copy.Width() < r.RedX || copy.Height() < r.RedY) {
    ShowMessage(QStringLiteral(
        "Not showing spectrum location in image.  Current drawing parameters exceed image size.  Please retry setting spectrum location."));
  } else {
    TCanvas* c = shown.Canvas();
    c->Brush().Style = bsClear;
    auto pen = [c](TColor color) { c->Pen() = TPen{color, psSolid, 1, pmCopy}; };
    const int width = copy.Width(), height = copy.Height();
    const auto square = [&](std::int64_t x, std::int64_t y) {
      // Squares of 8 x 8 pixels: the right and bottom edges are excluded. One far off the
      // picture is not drawn at all.
      if (x + 4 < 0 || y + 4 < 0 || x - 4 > width || y - 4 > height) return;
      c->Rectangle(static_cast<int>(x - 4), static_cast<int>(y - 4), static_cast<int>(x + 4), static_cast<int>(y + 4));
    };
    const auto line = [&](std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2) {
      DrawMarkLine(*c, width, height, x1, y1, x2, y2);
    };
    const std::int64_t bx = r.BlueX, by = r.BlueY, rx = r.RedX, ry = r.RedY;
    pen(RGB(255, 0, 0));
    square(rx, ry);
    pen(RGB(0, 0, 255));
    square(bx, by);
    pen(RGB(0, 255, 0));
    line(bx, by, rx, ry);
    if (r.BandWidth > 4) {
      const std::int64_t h = r.BandWidth / 2;
      pen(RGB(0, 128, 0));
      // Flat lines get their band edges above and below, steep ones (and diagonals) beside.
      if (std::llabs(rx - bx) > std::llabs(ry - by)) {
        line(bx, by - h, rx, ry - h);
        line(bx, by + h, rx, ry + h);
      } else {
        line(bx - h, by, rx - h, ry);
        line(bx + h, by, rx + h, ry);
      }
    }
  }
  View(side)->SetPicture(shown.Image());
}

// ---- plot ----

void TForm1::Button1Click() {
  TPlotRequest request;
  if (!ReadPlotRequest(request)) return;
  ComputeSpectra(SampleLoaded ? &SampleBitmap : nullptr, Sample, ReferenceLoaded ? &ReferenceBitmap : nullptr, Reference,
                 Transmittance);
  PlotComputed(request, SaturationNoteText(request.Trace, SampleLoaded ? &SampleBitmap : nullptr, Sample,
                                           ReferenceLoaded ? &ReferenceBitmap : nullptr, Reference));
}

bool TForm1::ReadPlotRequest(TPlotRequest& request) {
  const int trace = RadioGroup1->ItemIndex(), abscissa = RadioGroup2->ItemIndex();
  if (trace < ptSampleIntensity || trace > ptAbsorbance || abscissa < paPixelNumber || abscissa > paWavelength) return false;
  request.Trace = static_cast<TPlotTrace>(trace);
  request.Abscissa = static_cast<TPlotAbscissa>(abscissa);
  if (request.Trace != ptReferenceIntensity) ReadParameters(Sample);
  if (request.Trace != ptSampleIntensity) ReadParameters(Reference);
  request.SampleLoaded = SampleLoaded;
  request.ReferenceLoaded = ReferenceLoaded;
  return true;
}

void TForm1::PlotComputed(const TPlotRequest& request, const QString& note) {
  plottedTrace_ = request.Trace, plottedAbscissa_ = request.Abscissa;
  SaturationText = note;
  PlotSpectra(*iXYPlot1, request, Sample, Reference, Transmittance, SaturationText);
  LabelPeaks();
}

void TForm1::ShowLiveFrame(TSide side, const TBitmap& frame) {
  Copy(side) = frame;
  SetLoaded(side, true);
  PicturePath[side].clear();  // a frame comes from no file
  Button1->setEnabled(true);
  Button2->setEnabled(true);
  DrawSpectrumMarks(side);
}

// ---- transmittance and export ----

void TForm1::Button2Click() {
  TSaveDialogOptions options;
  options.Filter = QStringLiteral("CSV Files (*.CSV) | *.CSV | All Files (*.*) | *.*");
  options.DefaultExt = QString::fromLatin1(kCsvDefaultExt);
  options.FileName = CsvFileName;
  options.OverwritePrompt = false;  // an existing file is appended to
  QString fileName;
  if (Dialogs().ExecuteSave(options, fileName)) {
    CsvFileName = fileName;
    // A failing write ends the export with its message; the closing message follows in any case.
    RunCommand([&] { WriteCsvFile(fileName, Sample, Reference, Transmittance); });
  }
  ShowMessage(QString::fromLatin1(kCsvDoneMessage));
}

void TForm1::SaveJcamp1Click() {
  if (plottedTrace_ < 0) return ShowMessage(QString::fromLatin1(kJcampNoPlotMessage));
  TPlotRequest request;
  request.Trace = static_cast<TPlotTrace>(plottedTrace_);
  request.Abscissa = static_cast<TPlotAbscissa>(plottedAbscissa_);
  request.SampleLoaded = SampleLoaded;
  request.ReferenceLoaded = ReferenceLoaded;
  const std::vector<TSpectrumCurve> curves = SpectrumCurves(request, Sample, Reference, Transmittance);
  if (curves.empty()) return ShowMessage(QString::fromLatin1(kJcampNoPlotMessage));
  TSaveDialogOptions options;
  options.Filter = QStringLiteral("JCAMP-DX Files (*.jdx) | *.jdx | All Files (*.*) | *.*");
  options.DefaultExt = QString::fromLatin1(kJcampDefaultExt);
  options.OverwritePrompt = true;
  QString fileName;
  if (!Dialogs().ExecuteSave(options, fileName)) return;
  QStringList names;
  for (TSide side : {sdSample, sdReference})
    if (Loaded(side)) names << QFileInfo(PicturePath[side]).completeBaseName();
  WriteFileReplacing(fileName, JcampText(curves, names.join(QStringLiteral(" / "))));
}

// ---- menu ----

void TForm1::Print1Click() {
  if (!Dialogs().ExecutePrint()) return;
  TPrinter& printer = Printer();
  printer.Title = windowTitle();
  printer.BeginDoc();
  ShowMessage(QStringLiteral("Printing not yet coded.  Sorry, this is beta software.  Printing from graphics window may work."));
  printer.EndDoc();
}

void TForm1::PrintSetup1Click() { Dialogs().ExecutePrinterSetup(); }

void TForm1::About1Click() {
  if (Form2) Form2->ShowBeside(this);
}
