#include "chart/decorations/rUdudAnnotation.h"

#include "chart/decorations/rUdudDataView.h"

const TiClassInfo& TiPlotAnnotation::StaticClassInfo() {
  using C = TiPlotAnnotation;
  static const QStringList individual{QStringLiteral("ipriDataView"), QStringLiteral("ipriChannel"), QStringLiteral("ipriAuto")};
  static const TiClassInfo info =
      TiClassBuilder<C>(QStringLiteral("TiPlotAnnotation"), &TiPlotObject::StaticClassInfo())
          .Enumeration<TiPlotReferenceType>(QStringLiteral("Reference"), &C::Reference, &C::SetReference, iprtDataView,
                                            {QStringLiteral("iprtDataView"), QStringLiteral("iprtChannel"),
                                             QStringLiteral("iprtXChannelYDataView"), QStringLiteral("iprtXDataViewYChannel")})
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferencePositionX"), &C::ReferencePositionX,
                                                  &C::SetReferencePositionX, ipriAuto, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferencePositionY"), &C::ReferencePositionY,
                                                  &C::SetReferencePositionY, ipriAuto, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferenceSizeX"), &C::ReferenceSizeX, &C::SetReferenceSizeX,
                                                  ipriAuto, individual)
          .Enumeration<TiPlotReferenceIndividual>(QStringLiteral("ReferenceSizeY"), &C::ReferenceSizeY, &C::SetReferenceSizeY,
                                                  ipriAuto, individual)
          .Color(QStringLiteral("PenColor"), &C::PenColor, &C::SetPenColor, clWhite)
          .Integer(QStringLiteral("PenWidth"), &C::PenWidth, &C::SetPenWidth, 0)
          .Enumeration<TPenStyle>(QStringLiteral("PenStyle"), &C::PenStyle, &C::SetPenStyle, psSolid)
          .Color(QStringLiteral("BrushColor"), &C::BrushColor, &C::SetBrushColor, clWhite)
          .Enumeration<TBrushStyle>(QStringLiteral("BrushStyle"), &C::BrushStyle, &C::SetBrushStyle, bsSolid)
          .Object(QStringLiteral("Font"), static_cast<TiFont* (C::*)()>(&C::Font))
          .Build();
  return info;
}

TiPlotAnnotation::TiPlotAnnotation(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotObject(owner, handlers), font_(TFont{QStringLiteral("Arial"), 11, clWhite, 0}) {
  font_.OnChange = [this] { DoChange(); };
}

void TiPlotAnnotation::NotifyRemoving(TiPlotPersistent* item) {
  TiPlotObject::NotifyRemoving(item);
  if (dataView_ && static_cast<TiPlotPersistent*>(dataView_) == item) dataView_ = nullptr;
}

void TiPlotAnnotation::SetReference(TiPlotReferenceType value) { SetAndChange(reference_, value); }
void TiPlotAnnotation::SetReferencePositionX(TiPlotReferenceIndividual value) { SetAndChange(referencePositionX_, value); }
void TiPlotAnnotation::SetReferencePositionY(TiPlotReferenceIndividual value) { SetAndChange(referencePositionY_, value); }
void TiPlotAnnotation::SetReferenceSizeX(TiPlotReferenceIndividual value) { SetAndChange(referenceSizeX_, value); }
void TiPlotAnnotation::SetReferenceSizeY(TiPlotReferenceIndividual value) { SetAndChange(referenceSizeY_, value); }
void TiPlotAnnotation::SetPenColor(TColor value) { SetAndChange(penColor_, value); }
// A size on the chart: held to its drawable range.
void TiPlotAnnotation::SetPenWidth(int value) { SetAndChange(penWidth_, ClampCoordinate(value)); }
void TiPlotAnnotation::SetPenStyle(TPenStyle value) { SetAndChange(penStyle_, value); }
void TiPlotAnnotation::SetBrushColor(TColor value) { SetAndChange(brushColor_, value); }
void TiPlotAnnotation::SetBrushStyle(TBrushStyle value) { SetAndChange(brushStyle_, value); }
