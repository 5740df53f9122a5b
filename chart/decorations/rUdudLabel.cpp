#include "chart/decorations/rUdudLabel.h"

#include "chart/core/iGPFunctions.h"

const TiClassInfo& TiPlotLabel::StaticClassInfo() {
  using C = TiPlotLabel;
  static const TiClassInfo info = TiClassBuilder<C>(QStringLiteral("TiPlotLabel"), &TiPlotLayoutObject::StaticClassInfo())
      .String(QStringLiteral("Caption"), &C::Caption, &C::SetCaption)
      .Object(QStringLiteral("Font"), static_cast<TiFont* (C::*)()>(&C::Font))
      .Float(QStringLiteral("MarginBottom"), &C::MarginBottom, &C::SetMarginBottom)
      .Build();
  return info;
}

TiPlotLabel::TiPlotLabel(TiPlotOwner* owner, const TiPlotHandlers& handlers)
    : TiPlotLayoutObject(owner, handlers), font_(TFont{QStringLiteral("Arial"), 19, clWhite, FontStyleBit(fsBold)}) {
  font_.OnChange = [this] { DoChange(); };
  // A label lies above or below the data view unless told otherwise; set before it announces
  // itself, so nothing is notified.
  SetHorizontal(true);
}

void TiPlotLabel::SetCaption(const QString& value) { SetAndChange(caption_, value); }

void TiPlotLabel::SetMarginBottom(double value) { SetAndChange(marginBottom_, value); }

void TiPlotLabel::PlaceAlongSide(const TiPlotLayoutFrame& frame) {
  if (!IsHorizontal()) {
    TiPlotLayoutObject::PlaceAlongSide(frame);
    return;
  }
  const int left = frame.Border + frame.OuterMarginLeft;
  const int width = frame.Width - frame.Border - frame.OuterMarginLeft - frame.OuterMarginRight;
  SetExtentAlong(left + RoundEven(StartPercent() / 100.0 * width), left + RoundEven(StopPercent() / 100.0 * width));
}
