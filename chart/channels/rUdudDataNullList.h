#pragma once
// The standard layout: X and Y in double precision with a flag word for null, empty and the
// point's marker visibility and style (24 bytes a point).
#include "chart/channels/rUdudDataCustomList.h"

struct TiPlotNullRecord {
  double X;
  double Y;
  std::uint16_t Flags;
};
static_assert(sizeof(TiPlotNullRecord) == 24);

class TiPlotDataNullList : public TiPlotDataListOf<TiPlotDataNullList, TiPlotNullRecord> {
 public:
  // Bits of the flag word: 0 null, 1 empty, 2 marker visible, 3 to 6 the marker style's ordinal.
  static constexpr std::uint16_t kNullFlag = 1 << 0;
  static constexpr std::uint16_t kEmptyFlag = 1 << 1;
  static constexpr std::uint16_t kMarkerVisibleFlag = 1 << 2;
  static constexpr int kMarkerStyleShift = 3;
  static constexpr std::uint16_t kMarkerStyleMask = 0xF << kMarkerStyleShift;

  TiPlotDataNullList() : TiPlotDataListOf(ipdsStandard) {}

  double GetX(int index) const override { return At(index).X; }
  double GetY(int index) const override { return At(index).Y; }
  bool GetEmpty(int index) const override { return At(index).Flags & kEmptyFlag; }
  bool GetNull(int index) const override { return At(index).Flags & kNullFlag; }
  void SetX(int index, double value) override { At(index).X = value; }
  void SetY(int index, double value) override { At(index).Y = value; }
  void SetEmpty(int index, bool value) override { SetFlag(index, kEmptyFlag, value); }
  void SetNull(int index, bool value) override { SetFlag(index, kNullFlag, value); }

  bool GetMarkerVisible(int index) const override { return At(index).Flags & kMarkerVisibleFlag; }
  TiPlotMarkerStyle GetMarkerStyle(int index) const override {
    return TiPlotMarkerStyle((At(index).Flags & kMarkerStyleMask) >> kMarkerStyleShift);
  }
  void SetMarkerVisible(int index, bool value) override { SetFlag(index, kMarkerVisibleFlag, value); }
  void SetMarkerStyle(int index, TiPlotMarkerStyle value) override;

  int Add(bool null, bool empty, double x, double y) override { return AddPoint(null, empty, x, y); }
  // Add without the virtual call, for the channel's append.
  int AddPoint(bool null, bool empty, double x, double y) {
    std::uint16_t flags = MarkerStyleBits(template_.MarkerStyle);
    if (null) flags |= kNullFlag;
    if (empty) flags |= kEmptyFlag;
    if (template_.MarkerVisible) flags |= kMarkerVisibleFlag;
    bool wrapped;
    return Append({x, y, flags}, wrapped);
  }
  // The style's ordinal in bits 3 to 6; ordinals beyond four bits are cut to them.
  static std::uint16_t MarkerStyleBits(int style) {
    return std::uint16_t((unsigned(style) << kMarkerStyleShift) & kMarkerStyleMask);
  }

  TiPlotPoint Decode(const TiPlotNullRecord& record, int) const {
    return {record.X, record.Y, (record.Flags & kEmptyFlag) != 0, (record.Flags & kNullFlag) != 0};
  }

 private:
  void SetFlag(int index, std::uint16_t flag, bool value) {
    auto& flags = At(index).Flags;
    flags = value ? std::uint16_t(flags | flag) : std::uint16_t(flags & ~flag);
  }
};
