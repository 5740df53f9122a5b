#pragma once
// The channel base: a named trace of a chart, plotted against one X and one Y axis by name.
#include "chart/core/rUdudObjects.h"

class TiPlotChannelCustom : public TiPlotManagerObject {
  TI_PERSISTENT
 public:
  TiPlotChannelCustom(TiPlotOwner* owner, const TiPlotHandlers& handlers);

  const QString& TitleText() const { return titleText_; }
  void SetTitleText(const QString& value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  const QString& XAxisName() const { return xAxisName_; }
  void SetXAxisName(const QString& value);
  const QString& YAxisName() const { return yAxisName_; }
  void SetYAxisName(const QString& value);

  // The rectangle of the channel's row in the legend, written by the legend as it lays out.
  TRect LegendRect() const { return legendRect_; }
  void SetLegendRect(const TRect& rect) { legendRect_ = rect; }

  // Empties the channel's data; the chart calls it on every channel when all data are cleared.
  virtual void Clear();

 protected:
  // The keyboard-opened menu appears at the centre of the channel's legend row.
  bool PopupAnchorRect(TRect& rect) const override;

 private:
  QString titleText_;
  TColor color_ = clRed;
  QString yAxisName_;
  QString xAxisName_;
  TRect legendRect_;
};

// The class of new channels of a chart: a function that makes one with the chart's owner and
// handlers.
using TiPlotChannelClass = TiPlotPtr<TiPlotChannelCustom> (*)(TiPlotOwner*, const TiPlotHandlers&);

template <class T>
TiPlotPtr<TiPlotChannelCustom> CreateChannelOf(TiPlotOwner* owner, const TiPlotHandlers& handlers) {
  return TiPlotPtr<TiPlotChannelCustom>(new T(owner, handlers));
}
