// Messages shown on a thread with a capture are kept, not shown; other threads still show theirs.
#include <gtest/gtest.h>

#include <thread>

#include "platform/Dialogs.h"

TEST(MessageCapture, KeepsThisThreadsMessagesOnly) {
  TDialogRecorder dialogs;
  QStringList worker;
  std::thread t([&] {
    TMessageCapture capture;
    ShowMessage(QStringLiteral("from the worker"));
    QString name;
    EXPECT_FALSE(Dialogs().ExecuteOpen({}, name));  // no dialog opens on the worker
    worker = capture.Messages;
  });
  t.join();
  EXPECT_EQ(worker, QStringList{QStringLiteral("from the worker")});
  EXPECT_TRUE(dialogs.Messages.isEmpty());

  {
    TMessageCapture outer;
    {
      TMessageCapture inner;
      ShowMessage(QStringLiteral("inner"));
      EXPECT_EQ(inner.Messages, QStringList{QStringLiteral("inner")});
    }
    ShowMessage(QStringLiteral("outer"));
    EXPECT_EQ(outer.Messages, QStringList{QStringLiteral("outer")});
  }
  ShowMessage(QStringLiteral("shown"));
  EXPECT_EQ(dialogs.Messages, QStringList{QStringLiteral("shown")});
}
