#pragma once
// The checks of the calibration boxes, apart from the boxes: the window and the command line
// take numbers through the same rules and say the same words.
#include <QString>
#include <cstdint>

struct TEntryCheck {
  enum TState { Accepted, Clamped, Refused };
  TState State = Refused;
  QString Text;     // the value as the box then holds it (the limit when clamped)
  QString Message;  // the message the box shows; empty when accepted as typed
  QString Range;    // "Input must be ... in the range a to b.  Please re-enter."
};

// Whole numbers; a number beyond the type's range lies beyond every limit.
TEntryCheck CheckIntegerText(const QString& text, std::int64_t minimum, std::int64_t maximum);
// Reals: limits, messages and the result all carry exactly one decimal.
TEntryCheck CheckRealText(const QString& text, double minimum, double maximum);
