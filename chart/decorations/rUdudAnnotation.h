#pragma once
// Annotations drawn over the data view.
#include "chart/core/rUdudObjects.h"
#include "platform/Canvas.h"

class TiPlotDataView;

enum TiPlotReferenceType : int { iprtDataView, iprtChannel, iprtXChannelYDataView, iprtXDataViewYChannel };
enum TiPlotReferenceIndividual : int { ipriDataView, ipriChannel, ipriAuto };
// Their value names, in ordinal order.
const QStringList& ReferenceTypeNames();
const QStringList& ReferenceIndividualNames();

// The look and the references of an annotation. An annotation holds one; the chart holds another
// as the defaults it gives to the annotations it adds.
struct TiPlotAnnotationStyle {
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
  bool operator==(const TiPlotAnnotationStyle&) const = default;
};

// The font an annotation starts with, and the chart's default font for new annotations.
TFont AnnotationStartFont();

class TiPlotAnnotation : public TiPlotObject {
  TI_PERSISTENT
 public:
  TiPlotAnnotation(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  // Drops the data view it lives in when that view goes.
  void NotifyRemoving(TiPlotPersistent* item) override;

  TiPlotReferenceType Reference() const { return style_.Reference; }
  void SetReference(TiPlotReferenceType value);
  TiPlotReferenceIndividual ReferencePositionX() const { return style_.ReferencePositionX; }
  void SetReferencePositionX(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferencePositionY() const { return style_.ReferencePositionY; }
  void SetReferencePositionY(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferenceSizeX() const { return style_.ReferenceSizeX; }
  void SetReferenceSizeX(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferenceSizeY() const { return style_.ReferenceSizeY; }
  void SetReferenceSizeY(TiPlotReferenceIndividual value);
  TColor PenColor() const { return style_.PenColor; }
  void SetPenColor(TColor value);
  int PenWidth() const { return style_.PenWidth; }
  void SetPenWidth(int value);
  TPenStyle PenStyle() const { return style_.PenStyle; }
  void SetPenStyle(TPenStyle value);
  TColor BrushColor() const { return style_.BrushColor; }
  void SetBrushColor(TColor value);
  TBrushStyle BrushStyle() const { return style_.BrushStyle; }
  void SetBrushStyle(TBrushStyle value);
  // All of them at once (one change notification).
  const TiPlotAnnotationStyle& Style() const { return style_; }
  void SetStyle(const TiPlotAnnotationStyle& value);
  TiFont* Font() { return &font_; }
  const TiFont* Font() const { return &font_; }

  // The data view it is drawn in, given by the painting cycle; not owned.
  TiPlotDataView* DataView() const { return dataView_; }
  void SetDataView(TiPlotDataView* value) { dataView_ = value; }

 private:
  TiPlotAnnotationStyle style_;
  TiFont font_;
  TiPlotDataView* dataView_ = nullptr;
};
