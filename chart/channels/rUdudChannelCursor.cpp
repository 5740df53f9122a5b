// The channel's part of a data cursor: the values at the pointers and their texts.
#include <cmath>

#include "chart/axes/rUdudAxis.h"
#include "chart/channels/rUdudChannelCustom.h"
#include "chart/decorations/rUdudDataCursor.h"
#include "chart/decorations/rUdudDataView.h"

// The value of an axis at a pointer position. An axis that spans the whole data view reads it
// from its fraction; any other reads it from the pixel the pointer is drawn at, the only reading
// that matches the line (the view follows the axes' scale areas, so percent of the view and
// percent of a partial axis differ).
double TiPlotChannelCustom::ValueAtPointer(const TiPlotAxis& axis, const TiPlotDataView* view, double percent) {
  if (view && (axis.StartPercent() != 0 || axis.StopPercent() != 100)) {
    const int pixel = axis.Horizontal() ? view->PercentToPixelX(percent) : view->PercentToPixelY(percent);
    return axis.PositionToValue(pixel);
  }
  return axis.FractionToValue(percent / 100);
}

void TiPlotChannelCustom::UpdateDataCursor(TiPlotDataCursor* cursor) {
  if (!cursor) return;
  double x = 0, y = 0;
  TiPlotAxis* xAxis = XAxis();
  TiPlotAxis* yAxis = YAxis();
  if (xAxis && yAxis) {
    const TiPlotDataView* view = cursor->DataView();
    const double p1x = ValueAtPointer(*xAxis, view, cursor->Pointer1Position());
    const double p2x = ValueAtPointer(*xAxis, view, cursor->Pointer2Position());
    const double p1y = ValueAtPointer(*yAxis, view, cursor->Pointer1Position());
    const double p2y = ValueAtPointer(*yAxis, view, cursor->Pointer2Position());
    switch (cursor->Style()) {
      // Pointer 1 is the vertical line, pointer 2 the horizontal one.
      case ipcsValueXY: x = p1x, y = p2y; break;
      case ipcsValueX: x = p1x; break;
      case ipcsValueY: y = p2y; break;
      case ipcsDeltaX: x = std::fabs(p1x - p2x); break;
      case ipcsDeltaY: y = std::fabs(p1y - p2y); break;
      case ipcsInverseDeltaX: {
        const double product = xAxis->CursorScaler() * (p1x - p2x);
        x = (p1x == p2x || xAxis->CursorScaler() == 0) ? HUGE_VAL : std::fabs(1 / product);
        break;
      }
    }
  }
  // The cursor's change event runs the program's handler, which may remove either of them.
  const TiPlotLifeGuard self(this), other(cursor);
  cursor->SetValues(0, x, y);
  if (self.Gone() || other.Gone()) return;
  const QString text = FormatCursorText(cursor->Style(), 0, x, y);
  if (!other.Gone()) cursor->SetHintText(text);
}

QString TiPlotChannelCustom::FormatCursorText(TiPlotDataCursorStyle style, int status, double x, double y) {
  cursorX_ = x;
  cursorY_ = y;
  cursorStatus_ = status;
  cursorXText_.clear();
  cursorYText_.clear();
  if (!XAxis()) {
    cursorXText_ = Translate(QStringLiteral("No X-Axis"));
    return cursorXText_;
  }
  // The Y text of the value styles: the value, or what the point was instead of one.
  auto valueYText = [&] {
    if (!YAxis()) return Translate(QStringLiteral("No Y-Axis"));
    switch (status) {
      case 1: return Translate(QStringLiteral("Null"));
      case 2: return Translate(QStringLiteral("Empty"));
      default: return GetYText(y);
    }
  };
  switch (style) {
    case ipcsValueXY:
      cursorXText_ = GetXText(x);
      cursorYText_ = valueYText();
      return cursorXText_ + QStringLiteral(", ") + cursorYText_;
    case ipcsValueX:
    case ipcsDeltaX: cursorXText_ = GetXText(x); return cursorXText_;
    case ipcsValueY: cursorYText_ = valueYText(); return cursorYText_;
    case ipcsDeltaY: cursorYText_ = GetYText(y); return cursorYText_;
    case ipcsInverseDeltaX:
      cursorXText_ = x < 1e301 ? GetXText(x) : Translate(QStringLiteral("Infinite"));
      return cursorXText_;
  }
  return QString();
}
