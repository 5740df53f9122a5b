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

class TiPlotAnnotation : public TiPlotObject {
  TI_PERSISTENT
 public:
  TiPlotAnnotation(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  // Drops the data view it lives in when that view goes.
  void NotifyRemoving(TiPlotPersistent* item) override;

  TiPlotReferenceType Reference() const { return reference_; }
  void SetReference(TiPlotReferenceType value);
  TiPlotReferenceIndividual ReferencePositionX() const { return referencePositionX_; }
  void SetReferencePositionX(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferencePositionY() const { return referencePositionY_; }
  void SetReferencePositionY(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferenceSizeX() const { return referenceSizeX_; }
  void SetReferenceSizeX(TiPlotReferenceIndividual value);
  TiPlotReferenceIndividual ReferenceSizeY() const { return referenceSizeY_; }
  void SetReferenceSizeY(TiPlotReferenceIndividual value);
  TColor PenColor() const { return penColor_; }
  void SetPenColor(TColor value);
  int PenWidth() const { return penWidth_; }
  void SetPenWidth(int value);
  TPenStyle PenStyle() const { return penStyle_; }
  void SetPenStyle(TPenStyle value);
  TColor BrushColor() const { return brushColor_; }
  void SetBrushColor(TColor value);
  TBrushStyle BrushStyle() const { return brushStyle_; }
  void SetBrushStyle(TBrushStyle value);
  TiFont* Font() { return &font_; }
  const TiFont* Font() const { return &font_; }

  // The data view it is drawn in, given by the painting cycle; not owned.
  TiPlotDataView* DataView() const { return dataView_; }
  void SetDataView(TiPlotDataView* value) { dataView_ = value; }

 private:
  TiPlotReferenceType reference_ = iprtDataView;
  TiPlotReferenceIndividual referencePositionX_ = ipriAuto;
  TiPlotReferenceIndividual referencePositionY_ = ipriAuto;
  TiPlotReferenceIndividual referenceSizeX_ = ipriAuto;
  TiPlotReferenceIndividual referenceSizeY_ = ipriAuto;
  TColor penColor_ = clWhite;
  int penWidth_ = 0;
  TPenStyle penStyle_ = psSolid;
  TColor brushColor_ = clWhite;
  TBrushStyle brushStyle_ = bsSolid;
  TiFont font_;
  TiPlotDataView* dataView_ = nullptr;
};
