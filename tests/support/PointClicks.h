#pragma once
// Clicks into a picture view and the answer to the point-meaning dialog it opens.
#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

// Runs `click` and answers the modal dialog it shows, while it runs, with the given button
// (null: its close box). Returns whether the dialog was shown.
inline bool AnswerDialog(QWidget& dialog, QAbstractButton* answer, const std::function<void()>& click) {
  bool shown = false;
  QTimer::singleShot(0, &dialog, [&] {
    shown = dialog.isVisible();
    if (answer) answer->click();
    else dialog.close();
  });
  click();
  QCoreApplication::processEvents();
  return shown;
}

// A left click at a position in the view's own coordinates, sent as events rather than through
// QTest::mouseClick, which takes (0, 0) for the centre.
inline void SendClick(QWidget* view, QPoint pos) {
  const QPointF local(pos), global(view->mapToGlobal(pos));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(view, &release);
}
