#pragma once
// The compact-interval layout: Y in single precision only (4 bytes a point); the X of point i is
// i * Interval + FirstX, the spacing taken from the first two points.
#include "chart/channels/rUdudDataCustomList.h"

struct TiPlotCompactIntervalRecord {
  float Y;
};
static_assert(sizeof(TiPlotCompactIntervalRecord) == 4);

class TiPlotDataCompactIntervalList
    : public TiPlotDataListOf<TiPlotDataCompactIntervalList, TiPlotCompactIntervalRecord> {
 public:
  TiPlotDataCompactIntervalList() : TiPlotDataListOf(ipdsCompactInterval) {}

  double Interval() const { return interval_; }
  double FirstX() const { return firstX_; }

  // Computed for any index, also beyond the stored points.
  double GetX(int index) const override { return index * interval_ + firstX_; }
  double GetY(int index) const override { return At(index).Y; }
  // Only the first X can be set, which moves every point.
  void SetX(int index, double value) override;
  void SetY(int index, double value) override { At(index).Y = ToSingle(value); }

  int Add(bool null, bool empty, double x, double y) override { return AddPoint(x, y); }
  // Add without the virtual call, for the channel's append. Later X values are ignored: the list
  // assumes equal spacing. The new first X and interval are kept aside until the point has its
  // slot, so a refused point changes nothing.
  int AddPoint(double x, double y) {
    double firstX = firstX_;
    double interval = interval_;
    if (count_ <= 1) [[unlikely]] {
      if (count_ == 0)
        firstX = x;
      else if (interval_ == -1.0)
        interval = x - firstX_;
    }
    bool wrapped;
    const int result = Append({ToSingle(y)}, wrapped);
    firstX_ = firstX;
    interval_ = interval;
    // The oldest point was overwritten: the survivors keep their X (also in a ring of one point).
    if (wrapped) firstX_ += interval_;
    return result;
  }
  // The coordinates AddPoint would store for x and y: after the first two points X follows the
  // interval, whatever is given (a ring that drops its oldest point moves its first X along).
  void StoredValues(double& x, double& y) const {
    y = ToSingle(y);
    if (count_ == 0) return;
    const double interval = count_ == 1 && interval_ == -1.0 ? x - firstX_ : interval_;
    x = count_ * interval + firstX_;
  }
  void Clear() override;
  void DeleteFirst(int n) override;

  TiPlotPoint Decode(const TiPlotCompactIntervalRecord& record, int index) const {
    return {GetX(index), record.Y, false, false};
  }

 private:
  double interval_ = -1.0;  // -1.0 until a second point has been added
  double firstX_ = 0.0;
};
