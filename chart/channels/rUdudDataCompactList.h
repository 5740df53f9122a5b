#pragma once
// The compact layout: X and Y in single precision, no flags (8 bytes a point).
#include "chart/channels/rUdudDataCustomList.h"

struct TiPlotCompactRecord {
  float X;
  float Y;
};
static_assert(sizeof(TiPlotCompactRecord) == 8);

class TiPlotDataCompactList : public TiPlotDataListOf<TiPlotDataCompactList, TiPlotCompactRecord> {
 public:
  TiPlotDataCompactList() : TiPlotDataListOf(ipdsCompact) {}

  double GetX(int index) const override { return At(index).X; }
  double GetY(int index) const override { return At(index).Y; }
  void SetX(int index, double value) override { At(index).X = ToSingle(value); }
  void SetY(int index, double value) override { At(index).Y = ToSingle(value); }

  // Null and empty are not stored in this layout.
  int Add(bool null, bool empty, double x, double y) override { return AddPoint(x, y); }
  // Add without the virtual call, for the channel's append.
  int AddPoint(double x, double y) {
    bool wrapped;
    return Append({ToSingle(x), ToSingle(y)}, wrapped);
  }

  // The coordinates AddPoint would store for x and y.
  static void StoredValues(double& x, double& y) {
    x = ToSingle(x);
    y = ToSingle(y);
  }

  TiPlotPoint Decode(const TiPlotCompactRecord& record, int) const { return {record.X, record.Y, false, false}; }
};
