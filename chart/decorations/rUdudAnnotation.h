#pragma once
// Annotations drawn over the data view: texts, lines, shapes, polygons and pictures anchored in
// percent of the data view or in the values of a channel's axes.
#include <QStringList>
#include <vector>

#include "chart/core/iGPFunctions.h"
#include "chart/core/rUdudObjects.h"
#include "platform/Canvas.h"

class TiPlotDataView;
class TiPlotChannelCustom;
class TiPlotAxis;
class TImageList;

enum TiPlotReferenceType : int { iprtDataView, iprtChannel, iprtXChannelYDataView, iprtXDataViewYChannel };
enum TiPlotReferenceIndividual : int { ipriDataView, ipriChannel, ipriAuto };
enum TiPlotAnnotationStyle : int {
  ipasText, ipasLine, ipasRectangle, ipasLineX, ipasLineY, ipasImage, ipasTextRectangle, ipasEllipse, ipasTextBox,
  ipasEllipse2, ipasPolygon, ipasRectangle2
};
enum TiAlignmentVertical : int { iavCenter, iavTop, iavBottom };
// Their value names, in ordinal order.
const QStringList& ReferenceTypeNames();
const QStringList& ReferenceIndividualNames();
const QStringList& AnnotationStyleNames();
const QStringList& AlignmentVerticalNames();

// The look and the references of an annotation. An annotation holds one; the chart holds another
// as the defaults it gives to the annotations it adds.
struct TiPlotAnnotationLook {
  TiPlotReferenceType Reference = iprtDataView;
  TiPlotReferenceIndividual ReferencePositionX = ipriAuto;
  TiPlotReferenceIndividual ReferencePositionY = ipriAuto;
  TiPlotReferenceIndividual ReferenceSizeX = ipriAuto;
  TiPlotReferenceIndividual ReferenceSizeY = ipriAuto;
  TColor PenColor = clWhite;
  int PenWidth = 0;
  TPenStyle PenStyle = psSolid;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
  bool operator==(const TiPlotAnnotationLook&) const = default;
};

// The font an annotation starts with, and the chart's default font for new annotations.
TFont AnnotationStartFont();

struct TiPlotAnnotationPoint {
  double X = 0.0;
  double Y = 0.0;
};

class TiPlotAnnotation : public TiPlotObject {
  TI_PERSISTENT
 public:
  TiPlotAnnotation(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  // Drops the data view it lives in, or its channel, when they go.
  void NotifyRemoving(TiPlotPersistent* item) override;
  // Follows a rename of its channel.
  void NotifyRenamed(TiPlotObject* object) override;
  void Draw(TCanvas* canvas, TColor backgroundColor) override;
  bool HitTest(const TiPlotMouseParams& params) override;
  // Only a release inside the annotation is its click.
  bool ReleaseIsClick(int x, int y) override { return HitAt(x, y); }
  TCursor GetMouseCursor(const TiPlotMouseParams& params) override;
  void DoMouseDownLeft(const TiPlotMouseParams& params) override;
  void DoMouseDrag(const TiPlotMouseParams& params) override;
  void DoMouseUp(const TiPlotMouseParams& params) override;

  TiPlotAnnotationStyle Style() const { return style_; }
  void SetStyle(TiPlotAnnotationStyle value);
  TiPlotReferenceType Reference() const { return look_.Reference; }
  void SetReference(TiPlotReferenceType value);
  TiPlotReferenceIndividual ReferencePositionX() const { return look_.ReferencePositionX; }
  void SetReferencePositionX(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferencePositionY() const { return look_.ReferencePositionY; }
  void SetReferencePositionY(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferenceSizeX() const { return look_.ReferenceSizeX; }
  void SetReferenceSizeX(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferenceSizeY() const { return look_.ReferenceSizeY; }
  void SetReferenceSizeY(TiPlotReferenceIndividual value);
  TColor PenColor() const { return look_.PenColor; }
  void SetPenColor(TColor value);
  int PenWidth() const { return look_.PenWidth; }
  void SetPenWidth(int value);
  TPenStyle PenStyle() const { return look_.PenStyle; }
  void SetPenStyle(TPenStyle value);
  TColor BrushColor() const { return look_.BrushColor; }
  void SetBrushColor(TColor value);
  TBrushStyle BrushStyle() const { return look_.BrushStyle; }
  void SetBrushStyle(TBrushStyle value);
  // All of them at once (one change notification).
  const TiPlotAnnotationLook& Look() const { return look_; }
  void SetLook(const TiPlotAnnotationLook& value);
  TiFont* Font() { return &font_; }
  const TiFont* Font() const { return &font_; }

  const QString& ChannelName() const { return channelName_; }
  void SetChannelName(const QString& value);
  // Coordinates; a value that is not finite is refused (the annotation keeps the old one).
  double X() const { return x_; }
  void SetX(double value);
  double Y() const { return y_; }
  void SetY(double value);
  double X2() const { return x2_; }
  void SetX2(double value);
  double Y2() const { return y2_; }
  void SetY2(double value);
  double Width() const { return width_; }
  void SetWidth(double value);
  double Height() const { return height_; }
  void SetHeight(double value);
  const QString& Text() const { return text_; }
  void SetText(const QString& value);
  TiRotationAngle TextRotation() const { return textRotation_; }
  void SetTextRotation(TiRotationAngle value);
  TiAlignmentHorizontal TextHorzAlignment() const { return textHorzAlignment_; }
  void SetTextHorzAlignment(TiAlignmentHorizontal value);
  TiAlignmentVertical TextVertAlignment() const { return textVertAlignment_; }
  void SetTextVertAlignment(TiAlignmentVertical value);
  TiAlignmentHorizontal TextLineAlignment() const { return textLineAlignment_; }
  void SetTextLineAlignment(TiAlignmentHorizontal value);
  double TextHorzMargin() const { return textHorzMargin_; }
  void SetTextHorzMargin(double value);
  double TextVertMargin() const { return textVertMargin_; }
  void SetTextVertMargin(double value);
  int OuterMargin() const { return outerMargin_; }
  void SetOuterMargin(int value);
  int ImageListIndex() const { return imageListIndex_; }
  void SetImageListIndex(int value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool ClipToAxes() const { return clipToAxes_; }
  void SetClipToAxes(bool value);
  bool UserCanMove() const { return userCanMove_; }
  void SetUserCanMove(bool value);
  bool UserCanSize() const { return userCanSize_; }
  void SetUserCanSize(bool value);
  bool SelectModeOnlyInteraction() const { return selectModeOnlyInteraction_; }
  void SetSelectModeOnlyInteraction(bool value);
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool value);

  // The polygon's points. They are not among the published properties, so a polygon is not
  // written to property files: it has to be built again in code after loading.
  void AddPoint(double x, double y);
  void ClearPoints();
  int PointCount() const { return static_cast<int>(points_.size()); }
  // Throws EiError for an index outside 0 .. PointCount - 1.
  TiPlotAnnotationPoint Point(int index) const;

  // The data view it is drawn in, given by the painting cycle; not owned.
  TiPlotDataView* DataView() const { return dataView_; }
  void SetDataView(TiPlotDataView* value) { dataView_ = value; }

  // --- What the last paint drew, for the mouse. ---
  bool Drawn() const { return drawn_; }
  TRect ShapeRect() const { return shapeRect_; }
  TRect HitRect() const { return hitRect_; }
  enum THandle : int { ihNone, ihMove, ihTopLeft, ihTopRight, ihBottomLeft, ihBottomRight };
  // The handle square of a corner (ihTopLeft .. ihBottomRight); empty when the shape has none.
  TRect HandleRect(THandle corner) const;
  THandle Grabbed() const { return grabbed_; }
  bool Sizable() const;

 private:
  enum TCoordinate { icPositionX, icPositionY, icSizeX, icSizeY };
  // Where a coordinate is measured: true for the channel's axes.
  bool UsesChannel(TCoordinate coordinate) const;
  TiPlotChannelCustom* Channel() const;
  // The channel's X or Y axis; nullptr without the channel or the axis.
  TiPlotAxis* ChannelAxis(bool isX) const;
  // Whether every reference the annotation uses is there to draw with.
  bool ReferencesReady() const;
  // Pixels of coordinates. The "along" pixel of X is horizontal unless the chart swaps X and Y.
  bool AcrossView(bool isX) const;
  int ViewPixel(bool isX, double percent) const;   // needs the data view
  int AlongPixel(bool isX, double value) const;
  int SizePixels(bool isX, double value) const;
  TPoint PointPixel(double x, double y) const;
  // Coordinates of pixels; false when there is no finite answer (the caller keeps the old value).
  bool AlongValue(bool isX, int pixel, double& value) const;
  bool SizeValue(bool isX, int pixels, double& value) const;
  bool PointValue(TPoint pixel, double& x, double& y) const;

  TSize MeasureText(TCanvas* canvas);
  TRect PlaceText(TCanvas* canvas, TRect textRect);
  void DrawShape(TCanvas* canvas, const TRect& view, TColor backgroundColor);
  void DrawTextIn(TCanvas* canvas, const TRect& rect);
  void DrawHandles(TCanvas* canvas);
  void SetHandlesFor(const TRect& shape, const TRect& view);
  const TImageList* Picture() const;
  void SetCoordinate(double& field, double value);
  void RaiseEvent(int which);
  void MoveTo(TPoint anchor);
  void ResizeTo(const TRect& rect);
  void ChangedByUser(int event);

  TiPlotAnnotationStyle style_ = ipasText;
  TiPlotAnnotationLook look_;
  TiFont font_;
  QString channelName_;
  double x_ = 0.0, y_ = 0.0, x2_ = 0.0, y2_ = 0.0, width_ = 0.0, height_ = 0.0;
  QString text_;
  TiRotationAngle textRotation_ = ira000;
  TiAlignmentHorizontal textHorzAlignment_ = iahCenter;
  TiAlignmentVertical textVertAlignment_ = iavCenter;
  TiAlignmentHorizontal textLineAlignment_ = iahCenter;
  double textHorzMargin_ = 1.0;
  double textVertMargin_ = 1.0;
  int outerMargin_ = 0;
  int imageListIndex_ = 0;
  int imageIndex_ = 0;
  bool clipToAxes_ = false;
  bool userCanMove_ = false;
  bool userCanSize_ = false;
  bool selectModeOnlyInteraction_ = true;
  bool showFocusRect_ = true;
  std::vector<TiPlotAnnotationPoint> points_;

  TiPlotDataView* dataView_ = nullptr;
  mutable TiPlotChannelCustom* channel_ = nullptr;   // cache of the lookup by ChannelName

  // Drawing state.
  bool drawn_ = false;
  bool hasHandles_ = false;
  TRect shapeRect_{};
  TRect hitRect_{};
  TRect handles_[4]{};   // top-left, top-right, bottom-left, bottom-right
  // Text measurements, kept while text, font, rotation and canvas stay the same.
  struct TTextCache {
    const TCanvas* Canvas = nullptr;
    QString Text;
    TFont Font;
    TiRotationAngle Rotation = ira000;
    TSize Size{};
    TSize CharA{};
    int Char0 = 0;
    bool Valid = false;
  } textCache_;

  // Mouse state.
  THandle grabbed_ = ihNone;
  TRect pressRect_{};
  TPoint pressPoint_{};
  TPoint pressAnchor_{};
  TPoint pressAnchor2_{};
  double pressX_ = 0, pressY_ = 0, pressX2_ = 0, pressY2_ = 0;
  bool moved_ = false;
};
