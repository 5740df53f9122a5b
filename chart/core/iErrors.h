#pragma once
// The framework's one failure type: it carries the fixed message text that the user sees.
#include <QString>
#include <exception>
#include <stdexcept>

class EiError : public std::runtime_error {
 public:
  explicit EiError(const QString& message) : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};

// The message of any failure: the text of the framework's and the platform's errors, the
// what() text of other standard exceptions.
QString ErrorMessage(const std::exception& error);

// Raises "Index out of Bounds" unless 0 <= index < count: the one check of every indexed list
// of the chart.
void CheckIndex(int index, int count);

// Runs an entry from the event loop (a timer tick, an input hook). A failure ends that entry and
// nothing else: an exception that reached the event loop would end the program.
template <class F>
void RunGuarded(F&& f) noexcept {
  try {
    f();
  } catch (...) {
  }
}
