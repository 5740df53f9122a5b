#pragma once
// The names of the platform's colours: the named colours (clBlack, clRed, ...), the two special
// values and the system colours, as a colour chooser lists them and as the colour text shows them.
#include <QString>
#include <vector>

#include "platform/Graphics.h"

struct TColorName {
  TColor Value;
  QString Name;
};

// Named colours first (in the platform's order), then clNone and clDefault, then the system
// colours in the order of their indexes.
const std::vector<TColorName>& ColorNames();
// The name of a named colour, or "$" and eight hexadecimal digits of the value ("$0080FF40").
QString ColorToString(TColor color);
// Reads a colour name (ignoring letter case) or a "$" hexadecimal value; false for anything else.
bool TryStringToColor(const QString& text, TColor& color);
