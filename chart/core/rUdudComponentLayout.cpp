// The layout pass of the chart: from the layout manager's side lists it places the data view and
// every object around it. Each step is a function of its own; the objects say through their
// layout virtuals how they take part (room across a side, stacking, pinning, span along a side,
// placement through the data view).
#include <algorithm>

#include "chart/core/rUdudComponent.h"

namespace {

using TLayoutList = std::vector<TiPlotLayoutObject*>;

// The thickness of level z: the largest RequiredSize among its members that take room.
int LevelThickness(const TLayoutList& list, int z, TCanvas* canvas) {
  int thickness = 0;
  for (TiPlotLayoutObject* member : list)
    if (member->ZOrder() == z && member->TakesSideRoom()) thickness = std::max(thickness, member->RequiredSize(canvas));
  return thickness;
}

// The sum of the level thicknesses, each level counted when the walk enters it.
int SideThickness(const TLayoutList& list, TCanvas* canvas) {
  int total = 0;
  for (size_t i = 0; i < list.size(); ++i)
    if (i == 0 || list[i]->ZOrder() != list[i - 1]->ZOrder()) total += LevelThickness(list, list[i]->ZOrder(), canvas);
  return total;
}

// The largest end margin among the members that take room and whose start (or end) is not
// stacked.
int EndMargin(const TLayoutList& list, bool atStart, TCanvas* canvas) {
  int margin = 0;
  for (TiPlotLayoutObject* member : list) {
    if (!member->TakesSideRoom()) continue;
    if (atStart ? member->StackedAtStart() : member->StackedAtEnd()) continue;
    margin = std::max(margin, member->RequiredEndMargin(canvas));
  }
  return margin;
}

void SetStackingFlags(const TLayoutList& list) {
  for (TiPlotLayoutObject* member : list) {
    member->SetStackedAtStart(false);
    member->SetStackedAtEnd(false);
  }
  TiPlotLayoutObject* previous = nullptr;
  int lastLevel = -1;
  for (TiPlotLayoutObject* member : list) {
    if (!member->TakesSideRoom()) continue;
    if (member->ForcesStackingInLayout()) {
      member->SetStackedAtStart(true);
      member->SetStackedAtEnd(true);
      previous = member;
    } else if (member->ZOrder() == lastLevel) {
      if (previous) previous->SetStackedAtEnd(true);
      member->SetStackedAtStart(true);
      previous = member;
    } else {
      previous = member;
      lastLevel = member->ZOrder();
    }
  }
}

// Sets the two edges across the object's side: Left and Right for the left and right sides, Top
// and Bottom above and below.
void SetAcross(TiPlotLayoutObject* object, bool leftOrRight, int first, int second) {
  TRect r = object->GetLayoutRect();
  if (leftOrRight) {
    r.Left = first;
    r.Right = second;
  } else {
    r.Top = first;
    r.Bottom = second;
  }
  object->SetLayoutRect(r);
}

// One side of the data view as the placement across it sees it.
struct TSide {
  const TLayoutList* List;
  bool LeftOrRight;   // its edges across are Left and Right
  int Outward;        // -1 toward smaller coordinates (left, top), +1 toward larger
  bool FromLast;      // walked from the last member to the first
  int Start;          // the data view's edge on this side
};

}  // namespace

void TiPlotComponent::CollectVisibleSideMembers() {
  const TiPlotLayoutManager* layout = LayoutManager();
  auto visibleOf = [](const TiPlotSideList& side, TLayoutList& out) {
    out.clear();
    for (const TiPlotSideList::TEntry& e : side.Entries())
      if (e.Object->Visible()) out.push_back(e.Object);
  };
  visibleOf(layout->TopObjects(), layoutTop_);
  visibleOf(layout->BottomObjects(), layoutBottom_);
  visibleOf(layout->LeftObjects(), layoutLeft_);
  visibleOf(layout->RightObjects(), layoutRight_);
}

TRect TiPlotComponent::DataViewFromLevels(TCanvas* canvas, int border, int& toolBarAllowance) {
  // The room each side needs across it, and the room beyond the ends of the objects along it.
  const int lw = SideThickness(layoutLeft_, canvas);
  const int rw = SideThickness(layoutRight_, canvas);
  const int th = SideThickness(layoutTop_, canvas);
  const int bh = SideThickness(layoutBottom_, canvas);
  const int vs = std::max(EndMargin(layoutLeft_, true, canvas), EndMargin(layoutRight_, true, canvas));
  const int ve = std::max(EndMargin(layoutLeft_, false, canvas), EndMargin(layoutRight_, false, canvas));
  const int hs = std::max(EndMargin(layoutTop_, true, canvas), EndMargin(layoutBottom_, true, canvas));
  const int he = std::max(EndMargin(layoutTop_, false, canvas), EndMargin(layoutBottom_, false, canvas));
  // An object pinned to the top edge alone on top would cover the end labels of vertical axes.
  toolBarAllowance = layoutTop_.size() == 1 && layoutTop_.front()->PinnedToTopEdge() ? ve : 0;
  return Rect(OuterMarginLeft() + border + std::max(lw, hs), OuterMarginTop() + border + std::max(th, ve) + toolBarAllowance,
              Width() - (OuterMarginRight() + border + std::max(rw, he) + 1),
              Height() - (OuterMarginBottom() + border + std::max(bh, vs) + 1));
}

void TiPlotComponent::PlaceAcrossSide(const TLayoutList& list, bool leftOrRight, int outward, bool fromLast, int start,
                                      TCanvas* canvas, int border, int allowance) {
  // Levels grow outward from the data view: a new level begins where the previous one ended.
  int p = start, w = 0;
  bool allowanceTaken = false;
  const int n = static_cast<int>(list.size());
  for (int k = 0; k < n; ++k) {
    const int i = fromLast ? n - 1 - k : k;
    TiPlotLayoutObject* m = list[static_cast<size_t>(i)];
    // Objects beyond the data view's neighbours start above the room left for end labels.
    if (allowance != 0 && !allowanceTaken && !m->InsideTopEdgeRoom()) {
      p -= allowance;
      allowanceTaken = true;
    }
    const int before = fromLast ? i + 1 : i - 1;
    if (k == 0 || m->ZOrder() != list[static_cast<size_t>(before)]->ZOrder()) {
      p += outward * w;
      w = LevelThickness(list, m->ZOrder(), canvas);
    }
    if (outward < 0)
      SetAcross(m, leftOrRight, p - w, p);
    else
      SetAcross(m, leftOrRight, p, p + w);
    // Above the data view an object pinned to the top edge sits there instead.
    if (!leftOrRight && outward < 0 && m->PinnedToTopEdge()) SetAcross(m, false, border, border + m->RequiredSize(canvas));
  }
}

void TiPlotComponent::FitDataViewToScales(TiPlotDataView* view, TCanvas* canvas) {
  // A Cartesian child without its reference has no place (an empty rectangle at the origin): it
  // would drag the data view's edges to the corner, so it takes no part.
  auto placed = [](TiPlotAxis* axis) { return axis->CartesianStyle() != ipcsChild || axis->CartesianChildRefAxis(); };
  std::vector<TiPlotAxis*> xAxes, yAxes;
  for (int i = 0; i < XAxisCount(); ++i)
    if (placed(XAxis(i))) xAxes.push_back(XAxis(i));
  for (int i = 0; i < YAxisCount(); ++i)
    if (placed(YAxis(i))) yAxes.push_back(YAxis(i));
  const std::vector<TiPlotAxis*>& vertical = XYAxesReverse() ? xAxes : yAxes;
  const std::vector<TiPlotAxis*>& horizontal = XYAxesReverse() ? yAxes : xAxes;
  // Each edge after its own walk, every axis updating its scale area first.
  auto walk = [&](const std::vector<TiPlotAxis*>& axes, int from, auto pick) {
    int edge = from;
    for (TiPlotAxis* axis : axes) {
      axis->UpdateScaleArea(canvas);
      edge = pick(edge, axis->ScaleArea());
    }
    return edge;
  };
  auto lowest = [](auto member) { return [member](int e, const TRect& r) { return std::min(e, r.*member); }; };
  auto highest = [](auto member) { return [member](int e, const TRect& r) { return std::max(e, r.*member); }; };
  TRect r = view->GetLayoutRect();
  r.Top = walk(vertical, Height(), lowest(&TRect::Top));
  view->SetLayoutRect(r);
  r.Bottom = walk(vertical, 0, highest(&TRect::Bottom));
  view->SetLayoutRect(r);
  r.Left = walk(horizontal, Width(), lowest(&TRect::Left));
  view->SetLayoutRect(r);
  r.Right = walk(horizontal, 0, highest(&TRect::Right));
  view->SetLayoutRect(r);
}

void TiPlotComponent::LayoutPass(TCanvas& canvas) {
  TiPlotLayoutManager* layout = LayoutManager();
  if (!layout) return;
  TCanvas* c = &canvas;
  const int border = BorderStyle() != ibsNone ? 2 : 0;

  CollectVisibleSideMembers();
  for (const TLayoutList* list : {&layoutTop_, &layoutBottom_, &layoutLeft_, &layoutRight_}) SetStackingFlags(*list);

  int allowance = 0;
  const TRect dv = DataViewFromLevels(c, border, allowance);
  PlaceAcrossSide(layoutLeft_, true, -1, true, dv.Left, c, border, 0);
  PlaceAcrossSide(layoutRight_, true, +1, false, dv.Right, c, border, 0);
  PlaceAcrossSide(layoutTop_, false, -1, false, dv.Top, c, border, allowance);
  PlaceAcrossSide(layoutBottom_, false, +1, true, dv.Bottom, c, border, 0);

  TiPlotDataView* view = DataViewCount() > 0 ? DataView(0) : nullptr;
  if (view) view->SetLayoutRect(dv);

  // Along the sides and through the data view, every layout object, hidden ones too, in the
  // layout manager's order.
  const TiPlotLayoutFrame frame{border, Width(), Height(), OuterMarginLeft(), OuterMarginRight(), dv};
  std::vector<TiPlotLayoutObject*> objects;
  objects.reserve(static_cast<size_t>(layout->Count()));
  for (int i = 0; i < layout->Count(); ++i) objects.push_back(layout->Items(i));
  for (TiPlotLayoutObject* object : objects) object->PlaceAlongSide(frame);
  for (TiPlotLayoutRound round : {iplrCartesianMaster, iplrCartesianChild, iplrAligned})
    for (TiPlotLayoutObject* object : objects) object->PlaceThroughDataView(frame, round, c);

  if (view) FitDataViewToScales(view, c);
}
