#pragma once
// The four list layouts together: the factory the channel uses when its DataStyle changes, and
// the dispatch that lets a hot loop run once per layout with the concrete, non-virtual accessors.
#include <memory>

#include "chart/channels/rUdudDataCompactIntervalList.h"
#include "chart/channels/rUdudDataCompactList.h"
#include "chart/channels/rUdudDataFullList.h"
#include "chart/channels/rUdudDataNullList.h"

// A new, empty list of the layout for `style`.
std::unique_ptr<TiPlotDataCustomList> CreateDataList(TiPlotDataStyle style);

// Appends a point through the concrete list's inline AddPoint, so that the channel's AddXY makes
// no virtual call; the same as list.Add.
[[gnu::always_inline]] inline int AddToDataList(TiPlotDataCustomList& list, bool null, bool empty, double x, double y) {
  switch (list.DataStyle()) {
    case ipdsCompact:
      return static_cast<TiPlotDataCompactList&>(list).AddPoint(x, y);
    case ipdsCompactInterval:
      return static_cast<TiPlotDataCompactIntervalList&>(list).AddPoint(x, y);
    case ipdsFullFeature:
      return static_cast<TiPlotDataFullList&>(list).AddPoint(null, empty, x, y);
    case ipdsStandard:
      break;
  }
  return static_cast<TiPlotDataNullList&>(list).AddPoint(null, empty, x, y);
}

// The coordinates the list will store for a point added with x and y (the compact layouts keep
// single precision, the interval layout its own X): what statistics, extents and tracking take.
[[gnu::always_inline]] inline void StoredValues(const TiPlotDataCustomList& list, double& x, double& y) {
  switch (list.DataStyle()) {
    case ipdsCompact:
      TiPlotDataCompactList::StoredValues(x, y);
      return;
    case ipdsCompactInterval:
      static_cast<const TiPlotDataCompactIntervalList&>(list).StoredValues(x, y);
      return;
    case ipdsFullFeature:
    case ipdsStandard:
      return;
  }
}

// Calls f with the list as its concrete class, so that f's loop over ReadPoint/ForEachPoint is
// compiled once per layout without a virtual call per point:
//   VisitDataList(list, [&](const auto& points) { points.ForEachPoint(a, b, [&](int i, TiPlotPoint p) {...}); });
template <class F>
decltype(auto) VisitDataList(const TiPlotDataCustomList& list, F&& f) {
  switch (list.DataStyle()) {
    case ipdsCompact:
      return f(static_cast<const TiPlotDataCompactList&>(list));
    case ipdsCompactInterval:
      return f(static_cast<const TiPlotDataCompactIntervalList&>(list));
    case ipdsFullFeature:
      return f(static_cast<const TiPlotDataFullList&>(list));
    case ipdsStandard:
      break;
  }
  return f(static_cast<const TiPlotDataNullList&>(list));
}
