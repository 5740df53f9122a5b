#pragma once
// Small value types shared by the chart objects: rectangles and points with the platform's
// edge rules, mouse buttons, the shift state, virtual key codes and cursor codes, and the
// framework's one error type.
#include <QString>
#include <cstdint>
#include <stdexcept>

// A rectangle given by its four edges; Right and Bottom lie just outside it.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  // Right and bottom edges exclusive.
  constexpr bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool operator==(const TRect&) const = default;
};

struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};

enum TMouseButton : int { mbLeft, mbRight, mbMiddle };

// The set of shift keys and mouse buttons held, one bit each.
using TShiftState = std::uint8_t;
enum TShiftStateBit : TShiftState {
  ssShift = 1 << 0,
  ssAlt = 1 << 1,
  ssCtrl = 1 << 2,
  ssLeft = 1 << 3,
  ssRight = 1 << 4,
  ssMiddle = 1 << 5,
  ssDouble = 1 << 6,
};

// The platform's virtual key numbers used by the chart.
enum : int {
  VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
  VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
  VK_APPS = 93,   // the context-menu key
  VK_F10 = 121,
};

// Mouse cursor shapes, by the platform's cursor numbers.
using TCursor = int;
enum : TCursor { crDefault = 0, crSizeNS = -7, crSizeWE = -9, crDrag = -12, crHandPoint = -21 };

// The framework's error: a fixed message text that callers show or wrap.
class EiPlotError : public std::runtime_error {
 public:
  explicit EiPlotError(const QString& message) : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};
