#include "chart/decorations/rUdudAnnotation.h"

#include "chart/core/iValueNames.h"
#include "chart/decorations/rUdudDataView.h"

const QStringList& ReferenceTypeNames() {
  static const QStringList names{QStringLiteral("iprtDataView"), QStringLiteral("iprtChannel"),
                                 QStringLiteral("iprtXChannelYDataView"), QStringLiteral("iprtXDataViewYChannel")};
  return names;
}

const QStringList& ReferenceIndividualNames() {
  static const QStringList names{QStringLiteral("ipriDataView"), QStringLiteral("ipriChannel"), QStringLiteral("ipriAuto")};
  return names;
}

TFont AnnotationStartFont() { return TFont{QStringLiteral("Arial"), 11, clWhite, 0}; }

const TiClassInfo& TiPlotAnnotation::StaticClassInfo() {
  using C = TiPlotAnnotation;
  const TiPlotAnnotationStyle start;
  const QStringList& individual = ReferenceIndividualNames();
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotAnnotation"), &TiPlotObject::StaticClassInfo())
          .Enumeration<TiPlotReferenceType>(QStringLiteral("Reference"), &C::Reference, &C::SetReference, start.Reference,
                                            ReferenceTypeNames())
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferencePositionX"), &C::ReferencePositionX,
                                                  &C::SetReferencePositionX, start.ReferencePositionX, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferencePositionY"), &C::ReferencePositionY,
                                                  &C::SetReferencePositionY, start.ReferencePositionY, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferenceSizeX"), &C::ReferenceSizeX, &C::SetReferenceSizeX,
                                                  start.ReferenceSizeX, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferenceSizeY"), &C::ReferenceSizeY, &C::SetReferenceSizeY,
                                                  start.ReferenceSizeY, individual)
          .Color(QStringLiteral("PenColor"), &C::PenColor, &C::SetPenColor, start.PenColor)
          .Integer(QStringLiteral("PenWidth"), &C::PenWidth, &C::SetPenWidth, start.PenWidth)
          .Enumeration<TPenStyle>(QStringLiteral("PenStyle"), &C::PenStyle, &C::SetPenStyle, start.PenStyle, PenStyleNames())
          .Color(QStringLiteral("BrushColor"), &C::BrushColor, &C::SetBrushColor, start.BrushColor)
          .Enumeration<TBrushStyle>(QStringLiteral("BrushStyle"), &C::BrushStyle, &C::SetBrushStyle, start.BrushStyle, BrushStyleNames())
          .Object(QStringLiteral("Font"), static_cast<TiFont* (C::*)()>(&C::Font))
          .Build();
  return info;
}

TiPlotAnnotation::TiPlotAnnotation(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotObject(owner, handlers), font_(AnnotationStartFont()) {
  font_.OnChange = [this] { DoChange(); };
}

void TiPlotAnnotation::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotObject::NotifyRemoving(item);
  if (dataView_ && static_cast<TiPlotPersistent*>(dataView_) == item) dataView_ = nullptr;
}

void TiPlotAnnotation::SetReference(TiPlotReferenceType value) { SetAndChange(style_.Reference, value); }
void TiPlotAnnotation::SetReferencePositionX(TiPlotReferenceIndividual value) { SetAndChange(style_.ReferencePositionX, value); }
void TiPlotAnnotation::SetReferencePositionY(TiPlotReferenceIndividual value) { SetAndChange(style_.ReferencePositionY, value); }
void TiPlotAnnotation::SetReferenceSizeX(TiPlotReferenceIndividual value) { SetAndChange(style_.ReferenceSizeX, value); }
void TiPlotAnnotation::SetReferenceSizeY(TiPlotReferenceIndividual value) { SetAndChange(style_.ReferenceSizeY, value); }
void TiPlotAnnotation::SetPenColor(TColor value) { SetAndChange(style_.PenColor, value); }
// A size on the chart: held to its drawable range.
void TiPlotAnnotation::SetPenWidth(int value) { SetAndChange(style_.PenWidth, ClampCoordinate(value)); }
void TiPlotAnnotation::SetPenStyle(TPenStyle value) { SetAndChange(style_.PenStyle, value); }
void TiPlotAnnotation::SetBrushColor(TColor value) { SetAndChange(style_.BrushColor, value); }
void TiPlotAnnotation::SetBrushStyle(TBrushStyle value) { SetAndChange(style_.BrushStyle, value); }
void TiPlotAnnotation::SetStyle(const TiPlotAnnotationStyle& value) {
  TiPlotAnnotationStyle held = value;
  held.PenWidth = ClampCoordinate(held.PenWidth);
  SetAndChange(style_, held);
}
