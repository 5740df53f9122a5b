#include "chart/output/rUdudPreview.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPicture>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudToolBar.h"
#include "chart/output/rUdudPaperSizes.h"
#include "chart/output/rUdudPrintGeometry.h"
#include "chart/output/rUdudRenderer.h"
#include "platform/Canvas.h"

namespace {
// The paint area: it asks the form for its picture and copies it in one piece.
class TiPreviewArea : public QWidget {
 public:
  TiPreviewArea(std::function<TBitmap(int, int)> render, QWidget* parent) : QWidget(parent), render_(std::move(render)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    try {
      const TBitmap bitmap = render_(width(), height());
      QPainter painter(this);
      painter.drawImage(0, 0, bitmap.Image());
    } catch (...) {
      // A preview that cannot be drawn stays as it was; the event loop must not see the failure.
    }
  }

 private:
  std::function<TBitmap(int, int)> render_;
};

// The print button's picture: a small printer.
QIcon PrinterIcon() {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(6, 2, 11, 8);   // paper in
  p.setBrush(QColor(192, 192, 192));
  p.drawRect(2, 9, 19, 8);   // body
  p.setBrush(Qt::white);
  p.drawRect(6, 14, 11, 8);  // paper out
  p.end();
  return QIcon(pixmap);
}
}  // namespace

TiPlotPreviewForm::TiPlotPreviewForm(TiPlotComponent* chart, QWidget* parent) : QDialog(parent), chart_(chart) {
  setObjectName(QStringLiteral("TiPlotPreviewForm"));
  setWindowTitle(QStringLiteral("Vantor Plot Preview"));
  setWindowFlags(windowFlags() | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint);
  resize(836, 563);
  setMinimumSize(500, 300);
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Panel2 = new QWidget(this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setFixedHeight(41);
  auto* panel = new QHBoxLayout(Panel2);
  PrintButton = new QToolButton(Panel2);
  PrintButton->setObjectName(QStringLiteral("PrintButton"));
  PrintButton->setFixedSize(28, 28);
  PrintButton->setIcon(PrinterIcon());
  SettingsButton = new QPushButton(QStringLiteral("Settings"), Panel2);
  SettingsButton->setObjectName(QStringLiteral("SettingsButton"));
  CloseButton = new QPushButton(QStringLiteral("Close"), Panel2);
  CloseButton->setObjectName(QStringLiteral("CloseButton"));
  panel->addWidget(PrintButton);
  panel->addWidget(SettingsButton);
  panel->addWidget(CloseButton);
  panel->addStretch();
  layout->addWidget(Panel2);
  Preview = new TiPreviewArea([this](int w, int h) { return RenderPreview(w, h); }, this);
  Preview->setObjectName(QStringLiteral("Preview"));
  layout->addWidget(Preview, 1);

  // Slots catch: a failure must not reach the event loop.
  auto guarded = [](std::function<void()> f) {
    return [f = std::move(f)] {
      try {
        f();
      } catch (...) {
      }
    };
  };
  connect(PrintButton, &QToolButton::clicked, this, guarded([this] { PrintButtonClick(); }));
  connect(SettingsButton, &QPushButton::clicked, this, guarded([this] { SettingsButtonClick(); }));
  connect(CloseButton, &QPushButton::clicked, this, guarded([this] { CloseButtonClick(); }));

  settings_.MarginLeft = chart_->PrintMarginLeft();
  settings_.MarginTop = chart_->PrintMarginTop();
  settings_.MarginRight = chart_->PrintMarginRight();
  settings_.MarginBottom = chart_->PrintMarginBottom();
  settings_.Orientation = chart_->PrintOrientation();
  settings_.DocumentName = chart_->PrintDocumentName();
  settings_.PaperSizeIndex = 0;
  setWindowTitle(settings_.DocumentName + QStringLiteral(" (Preview)"));
  if (const TiPlotTranslationManager* table = chart_->TranslationManager()) table->TranslateForm(this);
}

TiPlotPreviewForm::~TiPlotPreviewForm() = default;

TBitmap TiPlotPreviewForm::RenderPreview(int width, int height) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  if (width <= 0 || height <= 0 || !bitmap.SetSize(width, height)) return bitmap;
  TCanvas& canvas = *bitmap.Canvas();
  canvas.Brush().Color = clBtnFace;
  canvas.Brush().Style = bsSolid;
  canvas.FillRect({0, 0, width, height});
  canvas.Pen() = TPen{clBlack, psSolid, 1};

  // The page shows what printing shows: no toolbar.
  const bool hasToolBar = chart_->ToolBarCount() > 0;
  const bool toolBarVisible = hasToolBar && chart_->ToolBar(0)->Visible();
  if (hasToolBar) chart_->ToolBar(0)->SetVisible(false);
  auto restore = [&] {
    if (hasToolBar) chart_->ToolBar(0)->SetVisible(toolBarVisible);
  };
  try {
    chart_->RaiseEvent(chart_->OnBeforePrint, static_cast<QObject*>(this));
    const int paperIndex = settings_.PaperSizeIndex >= 0 && settings_.PaperSizeIndex < 5 ? settings_.PaperSizeIndex : 0;
    TiPaperSize paper = PaperSizeInches(kPreviewPaperCodes[paperIndex]);
    if (settings_.Orientation == poLandscape) std::swap(paper.Width, paper.Height);
    const TiPrintMargins margins{chart_->PrintMarginLeft(), chart_->PrintMarginTop(), chart_->PrintMarginRight(),
                                 chart_->PrintMarginBottom()};
    const TiPreviewGeometry g = PreviewGeometry(width, height, paper, margins, chart_->Width(), chart_->Height());
    if (g.PixelsPerInch > 0) {
      canvas.Brush().Color = clBlack;
      canvas.Rectangle(g.Shadow);
      canvas.Brush().Color = clWhite;
      canvas.Rectangle(g.Sheet);
    }
    if (g.HasPicture) {
      // Replayed at the sheet's scale into a picture of its own, which also keeps anything the
      // chart draws beyond its area off the sheet.
      const QPicture& picture = chart_->GetMetaFilePicture();
      canvas.Draw(g.Picture.Left, g.Picture.Top,
                  PictureToImage(picture, QSize(chart_->Width(), chart_->Height()),
                                 QSize(g.Picture.Right - g.Picture.Left, g.Picture.Bottom - g.Picture.Top)));
    }
    chart_->RaiseEvent(chart_->OnAfterPrint, static_cast<QObject*>(this));
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return bitmap;
}

void TiPlotPreviewForm::PrintButtonClick() {
  chart_->PrintCommand();
  Preview->update();
}

void TiPlotPreviewForm::CloseButtonClick() { close(); }

void TiPlotPreviewForm::SettingsButtonClick() {
  TiPlotPreviewSettingsForm form(this);
  form.SetSettings(settings_);
  if (const TiPlotTranslationManager* table = chart_->TranslationManager()) table->TranslateForm(&form);
  if (SettingsAnswer)
    SettingsAnswer(form);
  else
    form.exec();
  if (form.result() != QDialog::Accepted) return;
  ApplySettings(form.Settings());
}

void TiPlotPreviewForm::ApplySettings(const TiPreviewSettings& s) {
  settings_ = s;
  chart_->SetPrintMarginLeft(s.MarginLeft);
  chart_->SetPrintMarginTop(s.MarginTop);
  chart_->SetPrintMarginRight(s.MarginRight);
  chart_->SetPrintMarginBottom(s.MarginBottom);
  chart_->SetPrintOrientation(s.Orientation);
  chart_->SetPrintDocumentName(s.DocumentName);
  setWindowTitle(s.DocumentName + QStringLiteral(" (Preview)"));
  Preview->update();
}
