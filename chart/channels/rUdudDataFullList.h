#pragma once
// The full-feature layout: every point keeps its flags, four high-low values and all trace,
// marker and bar attributes (136 bytes a point).
#include "chart/channels/rUdudDataCustomList.h"

struct TiPlotFullRecord {
  double X;
  double Y;
  bool Null;
  bool Empty;
  double HighLow1;
  double HighLow2;
  double Open;
  double Close;
  TiPlotPointTemplate Attributes;
};
static_assert(sizeof(TiPlotFullRecord) == 136);

class TiPlotDataFullList : public TiPlotDataListOf<TiPlotDataFullList, TiPlotFullRecord> {
 public:
  TiPlotDataFullList() : TiPlotDataListOf(ipdsFullFeature, "Delete Size Out Of Range") {}

  double GetX(int index) const override { return At(index).X; }
  double GetY(int index) const override { return At(index).Y; }
  bool GetEmpty(int index) const override { return At(index).Empty; }
  bool GetNull(int index) const override { return At(index).Null; }
  double GetHighLow1(int index) const override { return At(index).HighLow1; }
  double GetHighLow2(int index) const override { return At(index).HighLow2; }
  double GetOpen(int index) const override { return At(index).Open; }
  double GetClose(int index) const override { return At(index).Close; }
  void SetX(int index, double value) override { At(index).X = value; }
  void SetY(int index, double value) override { At(index).Y = value; }
  void SetEmpty(int index, bool value) override { At(index).Empty = value; }
  void SetNull(int index, bool value) override { At(index).Null = value; }
  void SetHighLow1(int index, double value) override { At(index).HighLow1 = value; }
  void SetHighLow2(int index, double value) override { At(index).HighLow2 = value; }
  void SetOpen(int index, double value) override { At(index).Open = value; }
  void SetClose(int index, double value) override { At(index).Close = value; }

  TColor GetTraceColor(int index) const override { return Attr(index).TraceColor; }
  int GetTraceLineWidth(int index) const override { return Attr(index).TraceLineWidth; }
  TiPlotLineStyle GetTraceLineStyle(int index) const override { return TiPlotLineStyle(Attr(index).TraceLineStyle); }
  bool GetMarkerVisible(int index) const override { return Attr(index).MarkerVisible; }
  int GetMarkerSize(int index) const override { return Attr(index).MarkerSize; }
  TiPlotMarkerStyle GetMarkerStyle(int index) const override { return TiPlotMarkerStyle(Attr(index).MarkerStyle); }
  TColor GetMarkerPenColor(int index) const override { return Attr(index).MarkerPenColor; }
  int GetMarkerPenWidth(int index) const override { return Attr(index).MarkerPenWidth; }
  TPenStyle GetMarkerPenStyle(int index) const override { return TPenStyle(Attr(index).MarkerPenStyle); }
  TColor GetMarkerBrushColor(int index) const override { return Attr(index).MarkerBrushColor; }
  TBrushStyle GetMarkerBrushStyle(int index) const override { return TBrushStyle(Attr(index).MarkerBrushStyle); }
  char GetMarkerCharacter(int index) const override { return Attr(index).MarkerCharacter; }
  bool GetBarVisible(int index) const override { return Attr(index).BarVisible; }
  double GetBarReference(int index) const override { return Attr(index).BarReference; }
  double GetBarWidth(int index) const override { return Attr(index).BarWidth; }
  TColor GetBarPenColor(int index) const override { return Attr(index).BarPenColor; }
  int GetBarPenWidth(int index) const override { return Attr(index).BarPenWidth; }
  TPenStyle GetBarPenStyle(int index) const override { return TPenStyle(Attr(index).BarPenStyle); }
  TColor GetBarBrushColor(int index) const override { return Attr(index).BarBrushColor; }
  TBrushStyle GetBarBrushStyle(int index) const override { return TBrushStyle(Attr(index).BarBrushStyle); }

  void SetTraceColor(int index, TColor value) override { Attr(index).TraceColor = value; }
  void SetTraceLineWidth(int index, int value) override { Attr(index).TraceLineWidth = value; }
  void SetTraceLineStyle(int index, TiPlotLineStyle value) override { Attr(index).TraceLineStyle = std::uint8_t(value); }
  void SetMarkerVisible(int index, bool value) override { Attr(index).MarkerVisible = value; }
  void SetMarkerSize(int index, int value) override { Attr(index).MarkerSize = value; }
  void SetMarkerStyle(int index, TiPlotMarkerStyle value) override { Attr(index).MarkerStyle = std::uint8_t(value); }
  void SetMarkerPenColor(int index, TColor value) override { Attr(index).MarkerPenColor = value; }
  void SetMarkerPenWidth(int index, int value) override { Attr(index).MarkerPenWidth = value; }
  void SetMarkerPenStyle(int index, TPenStyle value) override { Attr(index).MarkerPenStyle = std::uint8_t(value); }
  void SetMarkerBrushColor(int index, TColor value) override { Attr(index).MarkerBrushColor = value; }
  void SetMarkerBrushStyle(int index, TBrushStyle value) override { Attr(index).MarkerBrushStyle = std::uint8_t(value); }
  void SetMarkerCharacter(int index, char value) override { Attr(index).MarkerCharacter = value; }
  void SetBarVisible(int index, bool value) override { Attr(index).BarVisible = value; }
  void SetBarReference(int index, double value) override { Attr(index).BarReference = value; }
  void SetBarWidth(int index, double value) override { Attr(index).BarWidth = value; }
  void SetBarPenColor(int index, TColor value) override { Attr(index).BarPenColor = value; }
  void SetBarPenWidth(int index, int value) override { Attr(index).BarPenWidth = value; }
  void SetBarPenStyle(int index, TPenStyle value) override { Attr(index).BarPenStyle = std::uint8_t(value); }
  void SetBarBrushColor(int index, TColor value) override { Attr(index).BarBrushColor = value; }
  void SetBarBrushStyle(int index, TBrushStyle value) override { Attr(index).BarBrushStyle = std::uint8_t(value); }

  int Add(bool null, bool empty, double x, double y) override { return AddPoint(null, empty, x, y); }
  // Add without the virtual call, for the channel's append.
  int AddPoint(bool null, bool empty, double x, double y) {
    TiPlotFullRecord record{x, y, null, empty, 0.0, 0.0, 0.0, 0.0, template_};
    record.Attributes.MarkerCharacter = 0;  // a point's character is set only per point
    bool wrapped;
    return Append(record, wrapped);
  }

  TiPlotPoint Decode(const TiPlotFullRecord& record, int) const { return {record.X, record.Y, record.Empty, record.Null}; }

 private:
  TiPlotPointTemplate& Attr(int index) { return At(index).Attributes; }
  const TiPlotPointTemplate& Attr(int index) const { return At(index).Attributes; }
};
