#pragma once
// Text labels around the data view (label 0 is the chart's title).
#include <QStringList>

#include "chart/core/iGPFunctions.h"
#include "chart/core/rUdudObjects.h"

class TImageList;

// The value names of TiAlignmentHorizontal, in ordinal order.
const QStringList& AlignmentHorizontalNames();

class TiPlotLabel : public TiPlotLayoutObject {
  TI_PERSISTENT
 public:
  TiPlotLabel(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  void Draw(TCanvas* canvas, TColor backgroundColor) override;   // 12
  // The caption's height (all its lines) and the top and bottom margins; for a label that shows
  // a picture, the picture's height (across a vertical label: its width and the side margins).
  int RequiredSize(TCanvas* canvas) override;                     // 36

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& value);
  TiFont* Font() { return &font_; }
  const TiFont* Font() const { return &font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  TiAlignmentHorizontal Alignment() const { return alignment_; }
  void SetAlignment(TiAlignmentHorizontal value);
  // Margins in widths (left, right) and heights (top, bottom) of "0" in Font.
  double MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(double value);
  double MarginRight() const { return marginRight_; }
  void SetMarginRight(double value);
  double MarginTop() const { return marginTop_; }
  void SetMarginTop(double value);
  double MarginBottom() const { return marginBottom_; }
  void SetMarginBottom(double value);
  // 0, 1 or 2 picks one of the chart's picture lists; anything else shows the caption.
  int ImageListIndex() const { return imageListIndex_; }
  void SetImageListIndex(int value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);

  // Above or below the data view it spans the chart inside the outer margins; beside it, the
  // data view.
  void PlaceAlongSide(const TiPlotLayoutFrame& frame) override;

 private:
  struct TMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
  };
  // The margins in pixels, measured with Font on the canvas (the canvas keeps Font).
  TMargins MeasureMargins(TCanvas* canvas) const;
  // The picture list and index the label shows, or nullptr when it shows its caption.
  const TImageList* Picture() const;
  void DrawPicture(TCanvas* canvas, const TImageList& list, const TMargins& m);
  void DrawCaption(TCanvas* canvas, const TMargins& m);

  QString caption_;
  TiFont font_;
  TiAlignmentHorizontal alignment_ = iahCenter;
  double marginLeft_ = 0.0;
  double marginRight_ = 0.0;
  double marginTop_ = 0.0;
  double marginBottom_ = 0.0;
  int imageListIndex_ = -1;
  int imageIndex_ = 0;
};
