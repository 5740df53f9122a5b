#include "chart/channels/iTracePolyline.h"

#include "platform/Canvas.h"

TiTracePolyline::TiTracePolyline(TCanvas* canvas, bool reduceColumns, bool rowsAreColumns)
    : canvas_(canvas), reduce_(reduceColumns), rows_(rowsAreColumns) {
  points_.reserve(1024);
}

void TiTracePolyline::Restart(TPoint from) {
  Flush();
  Append(from);
}

void TiTracePolyline::AddToRun(TPoint p) {
  if (runOpen_ && Column(p) == Column(runFirst_)) {
    ++runLength_;
    if (Along(p) < Along(low_)) {
      low_ = p;
      lowAt_ = runLength_;
    }
    if (Along(p) > Along(high_)) {
      high_ = p;
      highAt_ = runLength_;
    }
    runLast_ = p;
    return;
  }
  EndRun();
  runOpen_ = true;
  runFirst_ = runLast_ = low_ = high_ = p;
  runLength_ = lowAt_ = highAt_ = 0;
}

void TiTracePolyline::Emit(TPoint p) {
  if (points_.empty() || !(points_.back() == p)) points_.push_back(p);
}

void TiTracePolyline::EndRun() {
  if (!runOpen_) return;
  runOpen_ = false;
  const bool lowFirst = lowAt_ <= highAt_;
  const TPoint second = lowFirst ? high_ : low_;
  const int secondAt = lowFirst ? highAt_ : lowAt_;
  Emit(runFirst_);
  Emit(lowFirst ? low_ : high_);
  Emit(second);
  // The run came back to the later extreme at its end: that pixel was drawn when the extreme was
  // first left. One step back toward the other extreme (a pixel the run covers anyway) and
  // forward again draws it without reaching past the run.
  if (second == runLast_ && secondAt < runLength_ && !CoversEnds()) {
    const int back = lowFirst ? -1 : 1;
    Emit(rows_ ? TPoint{second.X + back, second.Y} : TPoint{second.X, second.Y + back});
  }
  Emit(runLast_);
}

bool TiTracePolyline::CoversEnds() const { return canvas_->Pen().Width > 1; }

void TiTracePolyline::Flush() {
  EndRun();
  if (points_.size() >= 2) canvas_->Polyline(points_);
  points_.clear();
  hasLast_ = false;
}
