#pragma once
// The program's three windows as start-up makes them, with their dialogs answered by a recorder
// and a folder for the files a test writes.
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/PointMeaningDialog.h"
#include "platform/Dialogs.h"

class TLumioWindowsTest : public testing::Test {
 protected:
  TDialogRecorder dialogs;
  TLumioWindows windows = CreateLumioWindows();
  TForm1& form = *windows.Form1;
  TForm3& dialog = *windows.Form3;
  QTemporaryDir dir;

  // Shows the main window and waits until it is on the screen.
  void ShowForm() {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }
};
