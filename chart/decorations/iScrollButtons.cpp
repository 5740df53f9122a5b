#include "chart/decorations/iScrollButtons.h"

#include "chart/core/iGPFunctions.h"
#include "platform/Canvas.h"

void SetUpScrollButton(TiPlotButton& button, const QString& name, std::function<void()> invalidate, std::function<void()> click) {
  button.SetName(name);
  button.SetAutoRepeat(true);
  button.SetVisible(false);
  button.OnInvalidate = [invalidate = std::move(invalidate)](TiPlotObject*) { invalidate(); };
  button.OnClick = [click = std::move(click)](TiPlotObject*) { click(); };
}

void DrawScrollButtonFace(TCanvas& canvas, const TiPlotButton& button) {
  const TRect r = button.GetButtonRect();
  canvas.Brush() = TBrush{clBtnFace, bsSolid};
  canvas.FillRect(r);
  DrawBevel(canvas, r, button.MouseIsDown() ? 0 : 1);
}

void DrawScrollArrow(TCanvas& canvas, const TRect& rect, bool pointsUp, TColor color) {
  const int cx = (rect.Left + rect.Right) / 2;
  const int cy = (rect.Top + rect.Bottom) / 2;
  canvas.Brush() = TBrush{color, bsSolid};
  canvas.Pen() = TPen{color, psSolid, 1, pmCopy};
  const int tip = pointsUp ? -2 : 2;
  const TPoint corners[] = {{cx - 4, cy - tip}, {cx + 4, cy - tip}, {cx, cy + tip}};
  canvas.Polygon(corners, 3);
}
