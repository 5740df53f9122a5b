#pragma once
// Keyboard and mouse as the desktop platform reports them: virtual key numbers, the shift state,
// mouse buttons and cursor shapes.
#include <QPoint>
#include <Qt>
#include <cstdint>

class QCursor;

// Virtual key numbers of the platform.
enum : int {
  VK_BACK = 8, VK_TAB = 9, VK_CLEAR = 12, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
  VK_PAUSE = 19, VK_CAPITAL = 20, VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34,
  VK_END = 35, VK_HOME = 36, VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_SELECT = 41,
  VK_PRINT = 42, VK_EXECUTE = 43, VK_SNAPSHOT = 44, VK_INSERT = 45, VK_DELETE = 46, VK_HELP = 47,
  VK_LWIN = 91, VK_RWIN = 92, VK_APPS = 93,
  VK_NUMPAD0 = 96, VK_MULTIPLY = 106, VK_ADD = 107, VK_SEPARATOR = 108, VK_SUBTRACT = 109,
  VK_DECIMAL = 110, VK_DIVIDE = 111, VK_F1 = 112, VK_F10 = 121, VK_F24 = 135,
  VK_NUMLOCK = 144, VK_SCROLL = 145,
  VK_OEM_1 = 186, VK_OEM_PLUS = 187, VK_OEM_COMMA = 188, VK_OEM_MINUS = 189, VK_OEM_PERIOD = 190,
  VK_OEM_2 = 191, VK_OEM_3 = 192, VK_OEM_4 = 219, VK_OEM_5 = 220, VK_OEM_6 = 221, VK_OEM_7 = 222
};

// The shift state: a set of keys and buttons held.
enum TShiftStateFlag : std::uint8_t {
  ssShift = 0x01, ssAlt = 0x02, ssCtrl = 0x04, ssLeft = 0x08, ssRight = 0x10, ssMiddle = 0x20, ssDouble = 0x40
};
using TShiftState = std::uint8_t;

enum TMouseButton : int { mbLeft, mbRight, mbMiddle };

// Cursor shapes, with the platform's numbers.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crHandPoint = -21;

// The virtual key of a Qt key (0 when the platform has none); keypad digits and operators take
// their keypad numbers when the keypad modifier is set.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
// The mouse button of a Qt button; false for buttons the platform does not report.
bool MouseButtonOf(Qt::MouseButton button, TMouseButton& result);
Qt::CursorShape CursorShapeOf(TCursor cursor);

// The keys held now, as the platform reads its key state.
bool ShiftKeyDown();
bool CtrlKeyDown();
