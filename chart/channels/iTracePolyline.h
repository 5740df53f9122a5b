#pragma once
// Gathers the segments of a trace into integer polylines for the canvas's one-pixel line path.
// A segment that starts where the last one ended continues the polyline; a repeated pixel is
// dropped (a segment of no length draws nothing and moves no dash pattern); and, when asked, a
// run of consecutive points inside one pixel column is reduced to its first point, its lowest and
// highest point (first occurrences, in the order met) and its last point. For solid one-pixel
// lines in copy mode that covers exactly the pixels the unreduced run covers: the segments inside
// a column are vertical, so together they cover the column from the lowest to the highest point,
// and the last point is covered by them exactly when an earlier point of the run reached it.
#include <vector>

#include "platform/Geometry.h"

class TCanvas;

class TiTracePolyline {
 public:
  // rowsAreColumns: the runs are taken along pixel rows instead (the X axis runs vertically).
  TiTracePolyline(TCanvas* canvas, bool reduceColumns, bool rowsAreColumns);
  TiTracePolyline(const TiTracePolyline&) = delete;
  TiTracePolyline& operator=(const TiTracePolyline&) = delete;

  // One line from `from` to `to` (the end excluded, as the canvas draws lines).
  // Inline: a trace hands on a segment per point or two.
  void Segment(TPoint from, TPoint to) {
    if (!hasLast_ || !(from == last_)) Restart(from);
    Append(to);
  }
  // Draws what has been gathered; the next segment starts a new polyline. Call it before the
  // canvas's pen changes and at the end.
  void Flush();
  void SetReduceColumns(bool value) { reduce_ = value; }
  // A pen wider than a pixel covers the ends of its segments: a run that comes back to an
  // extreme needs no step back to cover it.
  bool CoversEnds() const;

 private:
  void Restart(TPoint from);
  void Append(TPoint p) {
    if (hasLast_ && p == last_) return;
    hasLast_ = true;
    last_ = p;
    if (reduce_) AddToRun(p);
    else points_.push_back(p);
  }
  void AddToRun(TPoint p);
  void EndRun();
  void Emit(TPoint p);
  int Column(TPoint p) const { return rows_ ? p.Y : p.X; }
  int Along(TPoint p) const { return rows_ ? p.X : p.Y; }

  TCanvas* canvas_;
  bool reduce_;
  bool rows_;
  std::vector<TPoint> points_;
  bool hasLast_ = false;
  TPoint last_;
  // The run of the current column: its first and last point, its extremes and where they came.
  bool runOpen_ = false;
  TPoint runFirst_, runLast_, low_, high_;
  int runLength_ = 0, lowAt_ = 0, highAt_ = 0;
};
