#pragma once
// The storage of a channel's points: a growable block of fixed-size records with an optional ring
// buffer. Four layouts trade memory for features; the channel talks to them through the virtual
// operations of TiPlotDataCustomList, and its hot loops read and append through the typed,
// non-virtual ReadPoint/ForEachPoint/AddPoint of the concrete list (see VisitDataList and
// AddToDataList in rUdudDataLists.h).
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

#include "platform/Canvas.h"
#include "platform/Graphics.h"

// The list layout a channel keeps its points in; ordinals are stored in property files.
enum TiPlotDataStyle : int { ipdsStandard, ipdsCompact, ipdsCompactInterval, ipdsFullFeature };

// Trace line styles; the ordinals are those of the pen styles they draw with.
enum TiPlotLineStyle : int { iplsSolid, iplsDash, iplsDot, iplsDashDot, iplsDashDotDot, iplsClear, iplsInsideFrame };

enum TiPlotMarkerStyle : int {
  ipmsCircle,
  ipmsSquare,
  ipmsDiamond,
  ipmsCross,
  ipmsPlus,
  ipmsTriangleUp,
  ipmsTriangleDown,
  ipmsTriangleLeft,
  ipmsTriangleRight,
  ipmsVerticalLine,
  ipmsHorizontalLine,
  ipmsCharacter
};

// The attributes a new point takes, and that every point reports where the layout does not keep
// them per point. Enumerations are held in one byte each, as in the full record.
struct TiPlotPointTemplate {
  TColor TraceColor = 0;
  std::int32_t TraceLineWidth = 0;
  std::uint8_t TraceLineStyle = 0;
  bool MarkerVisible = false;
  std::int32_t MarkerSize = 0;
  std::uint8_t MarkerStyle = 0;
  TColor MarkerPenColor = 0;
  std::int32_t MarkerPenWidth = 0;
  std::uint8_t MarkerPenStyle = 0;
  TColor MarkerBrushColor = 0;
  std::uint8_t MarkerBrushStyle = 0;
  char MarkerCharacter = 0;
  bool BarVisible = true;
  double BarReference = 0.0;
  double BarWidth = 0.0;
  TColor BarPenColor = 0;
  std::int32_t BarPenWidth = 0;
  std::uint8_t BarPenStyle = 0;
  TColor BarBrushColor = 0;
  std::uint8_t BarBrushStyle = 0;
};
static_assert(sizeof(TiPlotPointTemplate) == 80);

// One point as the drawing and fitting loops read it.
struct TiPlotPoint {
  double X = 0.0;
  double Y = 0.0;
  bool Empty = false;
  bool Null = false;
};

// Rounds to single precision for the compact records. Values beyond the float range become
// infinite (IEEE rounding to nearest) instead of taking the undefined path of a plain cast.
inline float ToSingle(double value) {
  if (std::fabs(value) <= std::numeric_limits<float>::max()) return static_cast<float>(value);  // the common case
  constexpr double kOverflow = 0x1.ffffffp127;  // halfway between FLT_MAX and the next power of two
  if (value >= kOverflow) return std::numeric_limits<float>::infinity();
  if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
  if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::max();
  if (value < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

class TiPlotDataCustomList {
 public:
  TiPlotDataCustomList(const TiPlotDataCustomList&) = delete;
  TiPlotDataCustomList& operator=(const TiPlotDataCustomList&) = delete;
  virtual ~TiPlotDataCustomList() = default;

  // Slots 0 to 15: values of a point by logical index (0 = oldest).
  virtual double GetX(int index) const = 0;
  virtual double GetY(int index) const = 0;
  virtual bool GetEmpty(int index) const { return false; }
  virtual bool GetNull(int index) const { return false; }
  virtual double GetHighLow1(int index) const { return 0.0; }
  virtual double GetHighLow2(int index) const { return 0.0; }
  virtual double GetOpen(int index) const { return 0.0; }
  virtual double GetClose(int index) const { return 0.0; }
  virtual void SetX(int index, double value) = 0;
  virtual void SetY(int index, double value) = 0;
  virtual void SetEmpty(int index, bool value) {}
  virtual void SetNull(int index, bool value) {}
  virtual void SetHighLow1(int index, double value) {}
  virtual void SetHighLow2(int index, double value) {}
  virtual void SetOpen(int index, double value) {}
  virtual void SetClose(int index, double value) {}

  // Slots 16 to 35: per-point attributes; here answered from the template whatever the index.
  virtual TColor GetTraceColor(int index) const { return template_.TraceColor; }
  virtual int GetTraceLineWidth(int index) const { return template_.TraceLineWidth; }
  virtual TiPlotLineStyle GetTraceLineStyle(int index) const { return TiPlotLineStyle(template_.TraceLineStyle); }
  virtual bool GetMarkerVisible(int index) const { return template_.MarkerVisible; }
  virtual int GetMarkerSize(int index) const { return template_.MarkerSize; }
  virtual TiPlotMarkerStyle GetMarkerStyle(int index) const { return TiPlotMarkerStyle(template_.MarkerStyle); }
  virtual TColor GetMarkerPenColor(int index) const { return template_.MarkerPenColor; }
  virtual int GetMarkerPenWidth(int index) const { return template_.MarkerPenWidth; }
  virtual TPenStyle GetMarkerPenStyle(int index) const { return TPenStyle(template_.MarkerPenStyle); }
  virtual TColor GetMarkerBrushColor(int index) const { return template_.MarkerBrushColor; }
  virtual TBrushStyle GetMarkerBrushStyle(int index) const { return TBrushStyle(template_.MarkerBrushStyle); }
  virtual char GetMarkerCharacter(int index) const { return template_.MarkerCharacter; }
  virtual bool GetBarVisible(int index) const { return template_.BarVisible; }
  virtual double GetBarReference(int index) const { return template_.BarReference; }
  virtual double GetBarWidth(int index) const { return template_.BarWidth; }
  virtual TColor GetBarPenColor(int index) const { return template_.BarPenColor; }
  virtual int GetBarPenWidth(int index) const { return template_.BarPenWidth; }
  virtual TPenStyle GetBarPenStyle(int index) const { return TPenStyle(template_.BarPenStyle); }
  virtual TColor GetBarBrushColor(int index) const { return template_.BarBrushColor; }
  virtual TBrushStyle GetBarBrushStyle(int index) const { return TBrushStyle(template_.BarBrushStyle); }

  // Slots 36 to 55: the matching setters; layouts without per-point attributes ignore them.
  virtual void SetTraceColor(int index, TColor value) {}
  virtual void SetTraceLineWidth(int index, int value) {}
  virtual void SetTraceLineStyle(int index, TiPlotLineStyle value) {}
  virtual void SetMarkerVisible(int index, bool value) {}
  virtual void SetMarkerSize(int index, int value) {}
  virtual void SetMarkerStyle(int index, TiPlotMarkerStyle value) {}
  virtual void SetMarkerPenColor(int index, TColor value) {}
  virtual void SetMarkerPenWidth(int index, int value) {}
  virtual void SetMarkerPenStyle(int index, TPenStyle value) {}
  virtual void SetMarkerBrushColor(int index, TColor value) {}
  virtual void SetMarkerBrushStyle(int index, TBrushStyle value) {}
  virtual void SetMarkerCharacter(int index, char value) {}
  virtual void SetBarVisible(int index, bool value) {}
  virtual void SetBarReference(int index, double value) {}
  virtual void SetBarWidth(int index, double value) {}
  virtual void SetBarPenColor(int index, TColor value) {}
  virtual void SetBarPenWidth(int index, int value) {}
  virtual void SetBarPenStyle(int index, TPenStyle value) {}
  virtual void SetBarBrushColor(int index, TColor value) {}
  virtual void SetBarBrushStyle(int index, TBrushStyle value) {}

 protected:
  // Slot 56: releases the record block and leaves an empty list.
  virtual void FreeData() = 0;

 public:
  // Slot 58: appends a point; returns its index, or, once a ring has wrapped, the storage slot it
  // overwrote (the new point is then always index Count - 1).
  virtual int Add(bool null, bool empty, double x, double y) = 0;
  // Slot 59: removes every point; a growing list releases its block, a ring keeps it.
  virtual void Clear();
  // Slot 60: reallocates the block to n records, keeping the oldest points.
  virtual void SetCapacity(int n) = 0;
  // Slot 61: removes the n oldest points, 0 <= n < Count.
  virtual void DeleteFirst(int n) = 0;
  // Slot 62: all four values of a point at once.
  virtual void GetData(int index, double& x, double& y, bool& empty, bool& null) const = 0;

  int Count() const { return count_; }
  int Capacity() const { return capacity_; }
  int RingStart() const { return ringStart_; }
  bool RingActive() const { return ringActive_; }
  int RecordSize() const { return recordSize_; }
  int MaxCount() const { return maxCount_; }
  std::int64_t MemoryUsed() const { return std::int64_t(recordSize_) * capacity_; }
  TiPlotDataStyle DataStyle() const { return style_; }

  TiPlotPointTemplate& PointTemplate() { return template_; }
  const TiPlotPointTemplate& PointTemplate() const { return template_; }
  void SetPointTemplate(const TiPlotPointTemplate& value) { template_ = value; }

  // Enlarges the capacity by one step: 4 up to 8, 16 up to 64, then a quarter; never beyond
  // MaxCount, so the last records up to the limit can still be used.
  void Grow();
  // The capacity Grow moves to from the given one (before the MaxCount limit).
  static std::int64_t GrownCapacity(int capacity);

  // 0 for a growing list, the ring's size while the ring buffer is active.
  int RingBufferSize() const { return ringActive_ ? ringSize_ : 0; }
  // A negative size means 0 (a growing list); a size above MaxCount is refused before anything
  // changes. Resizing a wrapped ring keeps the newest points in their order. The ring's storage
  // grows as points arrive, so a large ring reserves nothing up front.
  void SetRingBufferSize(int n);

  // The storage slot of a logical index; raises "Index out of Bounds" outside 0 .. Count - 1.
  int SlotOf(int index) const {
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(count_)) RaiseIndexOutOfBounds();
    const int slot = index + ringStart_;
    return slot >= count_ ? slot - count_ : slot;
  }

  [[noreturn]] static void RaiseIndexOutOfBounds();
  [[noreturn]] static void RaiseExceedMaximum();

 protected:
  TiPlotDataCustomList(TiPlotDataStyle style, const char* deleteRangeMessage)
      : style_(style), deleteRangeMessage_(deleteRangeMessage) {}

  void SetRecordSize(int size);
  // Puts a wrapped ring back in logical order (oldest first at slot 0), so that operations on
  // the leading records act on the oldest points.
  virtual void RestoreOrder() = 0;
  // Finds the slot for a new point, growing the block or advancing the ring. Nothing changes
  // when it raises. `wrapped` tells that the oldest point was overwritten.
  int ReserveSlot(bool& wrapped) {
    if (!ringActive_ && count_ < capacity_) {  // the common case, kept inline
      wrapped = false;
      return count_++;
    }
    return ReserveSlotSlow(wrapped);
  }
  int ReserveSlotSlow(bool& wrapped);
  void CheckDeleteCount(int n) const;

  int count_ = 0;
  int capacity_ = 0;
  int ringSize_ = 0;  // while ringActive_: the points the ring holds at most (capacity_ grows to it)
  int ringStart_ = 0;
  bool ringActive_ = false;
  int recordSize_ = 0;
  int maxCount_ = 0;
  TiPlotPointTemplate template_;

 private:
  TiPlotDataStyle style_;
  const char* deleteRangeMessage_;
};

// The block handling shared by the four layouts: one contiguous malloc'ed block of trivially
// copyable records, grown with realloc (no per-point allocation, no construction).
// `Derived` supplies Decode(record, index) for the typed read access.
template <class Derived, class Record>
class TiPlotDataListOf : public TiPlotDataCustomList {
  static_assert(std::is_trivially_copyable_v<Record>);

 public:
  ~TiPlotDataListOf() override { FreeData(); }

  void SetCapacity(int n) override {
    if (n < 0 || n > maxCount_) RaiseExceedMaximum();
    if (n == capacity_) return;
    // Capacity is cut from the end of storage: put a wrapped ring in order so the oldest stay.
    RestoreOrder();
    if (n == 0) {
      std::free(records_);
      records_ = nullptr;
    } else {
      auto* grown = static_cast<Record*>(std::realloc(records_, std::size_t(n) * sizeof(Record)));
      if (grown) {
        records_ = grown;
      } else if (n > capacity_) {
        throw std::bad_alloc();
      }  // a failed shrink keeps the larger block, which stays valid
    }
    // Cutting a ring's storage makes the ring that small (growing it as points arrive does not).
    if (ringActive_ && n < capacity_ && ringSize_ > n) ringSize_ = n;
    capacity_ = n;
    if (count_ > n) count_ = n;
    // A ring of no records is no ring: the next point would have nowhere to go.
    if (n == 0) ringActive_ = false;
  }

  void DeleteFirst(int n) override {
    CheckDeleteCount(n);
    RestoreOrder();
    count_ -= n;
    if (count_ > 0 && n > 0) std::memmove(records_, records_ + n, std::size_t(count_) * sizeof(Record));
  }

  void GetData(int index, double& x, double& y, bool& empty, bool& null) const override {
    const TiPlotPoint point = ReadPoint(index);
    x = point.X;
    y = point.Y;
    empty = point.Empty;
    null = point.Null;
  }

  // Typed read access for hot loops: no virtual call, the index checked once.
  TiPlotPoint ReadPoint(int index) const {
    return static_cast<const Derived*>(this)->Decode(records_[SlotOf(index)], index);
  }
  // The record of an index and how many records follow it contiguously in storage (up to the end
  // of the points or of a wrapped ring's storage), for scans that stream over raw records and
  // decode them with Decode(record, index). Raises "Index out of Bounds" like ReadPoint.
  const Record* Stretch(int index, int& length) const {
    const int slot = SlotOf(index);
    const int end = slot >= ringStart_ ? count_ : ringStart_;
    length = end - slot;
    return records_ + slot;
  }
  // Calls f(index, point) for first .. last in order; raises "Index out of Bounds" when the range
  // does not lie within the list, does nothing when last < first.
  template <class F>
  void ForEachPoint(int first, int last, F&& f) const {
    if (last < first) return;
    SlotOf(last);
    const auto* self = static_cast<const Derived*>(this);
    int slot = SlotOf(first);
    for (int i = first; i <= last; ++i) {
      f(i, self->Decode(records_[slot], i));
      if (++slot == count_) slot = 0;
    }
  }

 protected:
  explicit TiPlotDataListOf(TiPlotDataStyle style, const char* deleteRangeMessage = "Delete size out of Range")
      : TiPlotDataCustomList(style, deleteRangeMessage) {
    SetRecordSize(int(sizeof(Record)));
  }

  void FreeData() override {
    std::free(records_);
    records_ = nullptr;
    count_ = capacity_ = ringStart_ = 0;
    ringActive_ = false;
  }

  void RestoreOrder() override {
    if (ringStart_ == 0) return;
    std::rotate(records_, records_ + ringStart_, records_ + count_);
    ringStart_ = 0;
  }

  Record& At(int index) { return records_[SlotOf(index)]; }
  const Record& At(int index) const { return records_[SlotOf(index)]; }
  // Stores a new record; returns what Add returns.
  int Append(const Record& record, bool& wrapped) {
    const int slot = ReserveSlot(wrapped);
    records_[slot] = record;
    return slot;
  }

  Record* records_ = nullptr;
};
