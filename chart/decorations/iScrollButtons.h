#pragma once
// The scroll buttons that legends and tables keep inside themselves: set up alike and drawn
// alike, a button face with a small triangle pointing the way the list moves.
#include <QString>
#include <functional>

#include "chart/core/rUdudObjects.h"

class TCanvas;

// Names the button, hides it until its owner needs it and makes it repeat while held. A change
// of its pressed look calls `invalidate` (a repaint at once); a click calls `click`.
void SetUpScrollButton(TiPlotButton& button, const QString& name, std::function<void()> invalidate, std::function<void()> click);
// The button colour framed raised, or sunken while the mouse holds the button.
void DrawScrollButtonFace(TCanvas& canvas, const TiPlotButton& button);
// The filled triangle around the centre of `rect`: 9 pixels wide and 5 high, its tip up or down.
void DrawScrollArrow(TCanvas& canvas, const TRect& rect, bool pointsUp, TColor color);
