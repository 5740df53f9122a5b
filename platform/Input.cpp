#include "platform/Input.h"

#include <QGuiApplication>

int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers & Qt::KeypadModifier;
  if (keypad) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return VK_NUMPAD0 + (qtKey - Qt::Key_0);
    switch (qtKey) {
      case Qt::Key_Asterisk: return VK_MULTIPLY;
      case Qt::Key_Plus: return VK_ADD;
      case Qt::Key_Minus: return VK_SUBTRACT;
      case Qt::Key_Period:
      case Qt::Key_Comma: return VK_DECIMAL;
      case Qt::Key_Slash: return VK_DIVIDE;
      case Qt::Key_Enter: return VK_RETURN;
      default: break;
    }
  }
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Select: return VK_SELECT;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Execute: return VK_EXECUTE;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Meta: return VK_LWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Equal:
    case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma:
    case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period:
    case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash:
    case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return VK_OEM_7;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    default: return 0;
  }
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

bool MouseButtonOf(Qt::MouseButton button, TMouseButton& result) {
  switch (button) {
    case Qt::LeftButton: result = mbLeft; return true;
    case Qt::RightButton: result = mbRight; return true;
    case Qt::MiddleButton: result = mbMiddle; return true;
    default: return false;
  }
}

Qt::CursorShape CursorShapeOf(TCursor cursor) {
  switch (cursor) {
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crNo: return Qt::ForbiddenCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
  }
}

bool ShiftKeyDown() { return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; }
bool CtrlKeyDown() { return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier; }
