#include "app/calibration/CalibrationDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "app/ChartSetup.h"
#include "app/calibration/PeakLabels.h"
#include "chart/axes/rUdudAxis.h"
#include "chart/core/iXYPlot.h"
#include "chart/decorations/rUdudLegend.h"
#include "platform/Dialogs.h"

namespace {
// Every entry from Qt catches: a failure is shown, never thrown into the event loop.
template <typename F>
void Guarded(F f) {
  try {
    f();
  } catch (const std::exception& e) {
    ShowMessage(QString::fromLocal8Bit(e.what()));
  }
}

QString Nm(double v, int decimals = 2) { return QString::number(v, 'f', decimals); }
}  // namespace

TCalibrationDialog::TCalibrationDialog(const TCalibrationResult& extracted, double guessBlue, double guessRed,
                                       const QString& title, QWidget* parent)
    : QDialog(parent), result_(extracted), guessBlue_(guessBlue), guessRed_(guessRed), lines_(CompactFluorescentLines()) {
  setObjectName(QStringLiteral("CalibrationDialog"));
  setWindowTitle(title);
  resize(900, 640);
  auto* layout = new QVBoxLayout(this);

  Chart = new TiXYPlot(this);
  Chart->setObjectName(QStringLiteral("CalibrationChart"));
  Chart->setMinimumHeight(320);
  ConfigureSpectrumChart(*Chart);
  layout->addWidget(Chart, 3);

  auto* middle = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(new QLabel(QStringLiteral("Lamp:"), this));
  ListBox = new QComboBox(this);
  for (const TLineList& l : BuiltInLineLists()) ListBox->addItem(l.Name);
  left->addWidget(ListBox);
  LineBox = new QListWidget(this);
  LineBox->setMaximumWidth(200);
  left->addWidget(LineBox);
  middle->addLayout(left);

  Table = new QTableWidget(0, 6, this);
  Table->setHorizontalHeaderLabels({QStringLiteral("Line"), QStringLiteral("Known (nm)"), QStringLiteral("Linear (nm)"),
                                    QStringLiteral("Residual"), QStringLiteral("Quadratic (nm)"), QStringLiteral("Residual")});
  Table->verticalHeader()->setVisible(false);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  middle->addWidget(Table, 1);
  layout->addLayout(middle, 2);

  Summary = new QLabel(this);
  Summary->setWordWrap(true);
  layout->addWidget(Summary);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  AcceptLinear = new QPushButton(QStringLiteral("Accept Linear"), this);
  AcceptQuadratic = new QPushButton(QStringLiteral("Accept Quadratic"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  for (QPushButton* b : {AcceptLinear, AcceptQuadratic, CancelButton}) buttons->addWidget(b);
  layout->addLayout(buttons);

  connect(AcceptLinear, &QPushButton::clicked, this, [this] { choice_ = ccLinear; accept(); });
  connect(AcceptQuadratic, &QPushButton::clicked, this, [this] { choice_ = ccQuadratic; accept(); });
  connect(CancelButton, &QPushButton::clicked, this, [this] { choice_ = ccNone; reject(); });
  connect(ListBox, &QComboBox::currentIndexChanged, this, [this](int i) { Guarded([&] { SetLineList(i); }); });
  connect(LineBox, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (filling_) return;
    Guarded([&] { SetLineEnabled(LineBox->row(item), item->checkState() == Qt::Checked); });
  });

  // The profile against row number: red, green, blue and total, the chart's own colours.
  TiPlotAxis* x = Chart->XAxis(0);
  x->SetTitle(QStringLiteral("Row"));
  x->SetTitleShow(true);
  x->SetMin(0);
  x->SetSpan(std::max(1.0, static_cast<double>(result_.Rows.size())));
  x->SetDesiredIncrement(std::max(1.0, result_.Rows.size() / 5.0));
  double top = 1;
  for (double v : result_.Rows) top = std::max(top, v);
  Chart->YAxis(0)->SetMin(0);
  Chart->YAxis(0)->SetSpan(top * 1.15);  // room for the labels above the highest peak
  Chart->YAxis(0)->SetTitle(QStringLiteral("Intensity"));
  const char* titles[4] = {"Red", "Green", "Blue", "Total"};
  const std::vector<double>* data[4] = {&result_.Red, &result_.Green, &result_.Blue, &result_.Rows};
  for (int c = 0; c < kPlotChannelCount; ++c) {
    TiXYPlotChannel* ch = Chart->Channel(c);
    ch->SetVisible(c < 4);
    ch->SetVisibleInLegend(c < 4);
    if (c >= 4) continue;
    ch->SetTitleText(QString::fromLatin1(titles[c]));
    const std::vector<double>& v = *data[c];
    for (std::size_t i = 0; i < v.size(); ++i) ch->AddXY(static_cast<double>(i), v[i]);
  }
  ShowLines();
  Recalibrate();
}

void TCalibrationDialog::SetLineList(int index) {
  const auto& lists = BuiltInLineLists();
  if (index < 0 || index >= static_cast<int>(lists.size())) return;
  lines_ = lists[static_cast<std::size_t>(index)];
  if (ListBox->currentIndex() != index) {
    const QSignalBlocker block(ListBox);
    ListBox->setCurrentIndex(index);
  }
  ShowLines();
  Recalibrate();
}

void TCalibrationDialog::SetLineEnabled(int line, bool enabled) {
  if (line < 0 || line >= static_cast<int>(lines_.Lines.size())) return;
  lines_.Lines[static_cast<std::size_t>(line)].Enabled = enabled;
  ShowLines();
  Recalibrate();
}

void TCalibrationDialog::ShowLines() {
  filling_ = true;
  LineBox->clear();
  for (const TLampLine& l : lines_.Lines) {
    auto* item = new QListWidgetItem(QStringLiteral("%1 %2 nm").arg(l.Name, Nm(l.Wavelength)), LineBox);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(l.Enabled ? Qt::Checked : Qt::Unchecked);
  }
  filling_ = false;
}

void TCalibrationDialog::Recalibrate() {
  const TCalibrationResult fresh = CalibrateProfile(result_.Rows, result_.Clipped, guessBlue_, guessRed_, lines_);
  result_.Peaks = fresh.Peaks;
  result_.Linear = fresh.Linear;
  result_.Quadratic = fresh.Quadratic;
  result_.Ok = fresh.Ok;
  result_.Message = fresh.Message;
  ShowResult();
}

void TCalibrationDialog::ShowResult() {
  // Every found peak gets a small mark, every matched one its line; saturated ones in red.
  RemoveNamedAnnotations(*Chart, QString::fromLatin1(kPeakLabelName));
  std::vector<TPeakLabel> labels;
  std::vector<char> matched(result_.Peaks.size(), 0);
  const TCalibrationFit& shown = result_.Quadratic.Lines.size() >= result_.Linear.Lines.size() ? result_.Quadratic : result_.Linear;
  for (const TLineMatch& m : shown.Lines) {
    if (m.Peak < 0 || m.Peak >= static_cast<int>(result_.Peaks.size())) continue;
    matched[static_cast<std::size_t>(m.Peak)] = 1;
    const TPeak& p = result_.Peaks[static_cast<std::size_t>(m.Peak)];
    labels.push_back({m.Row, result_.Rows[static_cast<std::size_t>(p.Top)],
                      m.Name + (m.Saturated ? QStringLiteral(" (saturated)") : QString()),
                      m.Saturated ? kSaturatedLabelColor : kLabelColor});
  }
  for (std::size_t i = 0; i < result_.Peaks.size(); ++i) {
    if (matched[i]) continue;
    const TPeak& p = result_.Peaks[i];
    labels.push_back({p.Centre, result_.Rows[static_cast<std::size_t>(p.Top)], QStringLiteral("\u25BE"),
                      p.Saturated ? kSaturatedLabelColor : kPeakMarkColor});
  }
  AddPeakLabels(*Chart, Chart->Channel(3)->Name(), labels);

  // The table: every line either fit uses, linear and quadratic side by side.
  std::vector<const TLineMatch*> rows;
  for (const TLineMatch& m : result_.Linear.Lines) rows.push_back(&m);
  for (const TLineMatch& m : result_.Quadratic.Lines) {
    bool seen = false;
    for (const TLineMatch* r : rows) seen = seen || r->Peak == m.Peak;
    if (!seen) rows.push_back(&m);
  }
  std::sort(rows.begin(), rows.end(), [](const TLineMatch* a, const TLineMatch* b) { return a->Wavelength < b->Wavelength; });
  Table->setRowCount(static_cast<int>(rows.size()));
  auto find = [](const TCalibrationFit& f, int peak) -> const TLineMatch* {
    for (const TLineMatch& m : f.Lines)
      if (m.Peak == peak) return &m;
    return nullptr;
  };
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const TLineMatch& m = *rows[static_cast<std::size_t>(r)];
    const TLineMatch* lin = find(result_.Linear, m.Peak);
    const TLineMatch* quad = find(result_.Quadratic, m.Peak);
    const QString cells[6] = {m.Name + (m.Saturated ? QStringLiteral(" (saturated)") : QString()), Nm(m.Wavelength),
                              lin ? Nm(lin->Fitted) : QStringLiteral("rejected"), lin ? Nm(lin->Residual) : QString(),
                              quad ? Nm(quad->Fitted) : QStringLiteral("rejected"), quad ? Nm(quad->Residual) : QString()};
    for (int c = 0; c < 6; ++c) Table->setItem(r, c, new QTableWidgetItem(cells[c]));
  }

  if (!result_.Ok) {
    Summary->setText(result_.Message);
  } else {
    double blue = 0, red = 0;
    LinearEnds(result_.Linear.Fit, Rows(), blue, red);
    int saturated = 0;
    for (const TPeak& p : result_.Peaks) saturated += p.Saturated ? 1 : 0;
    QString text = QStringLiteral("Linear: RMS %1 nm over %2 lines, %3 to %4 nm.   Quadratic: RMS %5 nm over %6 lines.")
                       .arg(Nm(result_.Linear.Rms, 3))
                       .arg(result_.Linear.Lines.size())
                       .arg(Nm(blue, 1), Nm(red, 1), Nm(result_.Quadratic.Rms, 3))
                       .arg(result_.Quadratic.Lines.size());
    if (saturated > 0)
      text += QStringLiteral("  %1 saturated peak(s): their centres are less certain, and clipped lines give wrong "
                             "intensities.")
                  .arg(saturated);
    Summary->setText(text);
  }
  AcceptLinear->setEnabled(result_.Ok && result_.Linear.Fit.Valid);
  AcceptQuadratic->setEnabled(result_.Ok && result_.Quadratic.Fit.Valid && result_.Quadratic.Lines.size() >= 4);
}
