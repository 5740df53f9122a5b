#pragma once
// The range that printing walks page by page: the first X axis's Min and Span.

class TiPlotPrintRange {
 public:
  virtual ~TiPlotPrintRange() = default;
  virtual double Min() const = 0;
  virtual double Span() const = 0;
  virtual void SetMin(double value) = 0;
  virtual void SetSpan(double value) = 0;
  // The scale's owner was removed (by a handler of the printing events): nothing may be read or
  // set any more.
  virtual bool Gone() const { return false; }
  double Max() const { return Min() + Span(); }
};
