// Qt keys, buttons and modifiers in the platform's numbers.
#include <gtest/gtest.h>

#include "platform/Input.h"

TEST(VirtualKeys, QtKeysMapToThePlatformNumbers) {
  struct Case { int qt; Qt::KeyboardModifiers mods; int vk; };
  const Case cases[] = {
      {Qt::Key_PageUp, Qt::NoModifier, 33}, {Qt::Key_PageDown, Qt::NoModifier, 34}, {Qt::Key_End, Qt::NoModifier, 35},
      {Qt::Key_Home, Qt::NoModifier, 36},   {Qt::Key_Left, Qt::NoModifier, 37},     {Qt::Key_Up, Qt::NoModifier, 38},
      {Qt::Key_Right, Qt::NoModifier, 39},  {Qt::Key_Down, Qt::NoModifier, 40},     {Qt::Key_Menu, Qt::NoModifier, 93},
      {Qt::Key_F10, Qt::NoModifier, 121},   {Qt::Key_F1, Qt::NoModifier, 112},      {Qt::Key_Tab, Qt::NoModifier, 9},
      {Qt::Key_Backtab, Qt::ShiftModifier, 9}, {Qt::Key_Return, Qt::NoModifier, 13}, {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_Escape, Qt::NoModifier, 27}, {Qt::Key_Delete, Qt::NoModifier, 46},   {Qt::Key_A, Qt::NoModifier, 'A'},
      {Qt::Key_Z, Qt::ShiftModifier, 'Z'},  {Qt::Key_5, Qt::NoModifier, '5'},       {Qt::Key_5, Qt::KeypadModifier, 101},
      {Qt::Key_Plus, Qt::KeypadModifier, 107}, {Qt::Key_Minus, Qt::NoModifier, 189}, {Qt::Key_Shift, Qt::ShiftModifier, 16},
      {Qt::Key_Control, Qt::ControlModifier, 17}, {Qt::Key_unknown, Qt::NoModifier, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.qt);
    EXPECT_EQ(VirtualKeyOf(c.qt, c.mods), c.vk);
  }
}

TEST(ShiftState, CombinesKeysAndButtons) {
  EXPECT_EQ(ShiftStateOf(Qt::NoModifier), 0);
  EXPECT_EQ(ShiftStateOf(Qt::ShiftModifier | Qt::ControlModifier), ssShift | ssCtrl);
  EXPECT_EQ(ShiftStateOf(Qt::AltModifier, Qt::LeftButton | Qt::RightButton), ssAlt | ssLeft | ssRight);
  EXPECT_EQ(ShiftStateOf(Qt::NoModifier, Qt::MiddleButton), ssMiddle);
  TMouseButton b;
  EXPECT_TRUE(MouseButtonOf(Qt::RightButton, b));
  EXPECT_EQ(b, mbRight);
  EXPECT_FALSE(MouseButtonOf(Qt::BackButton, b));
  EXPECT_EQ(CursorShapeOf(crHandPoint), Qt::PointingHandCursor);
  EXPECT_EQ(CursorShapeOf(crSizeWE), Qt::SizeHorCursor);
  EXPECT_EQ(CursorShapeOf(crDefault), Qt::ArrowCursor);
}
