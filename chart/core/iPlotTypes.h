#pragma once
// What the chart objects share from the platform (rectangles and points, mouse buttons, the
// shift state, virtual keys and cursor codes) and the framework's error type.
#include <QString>
#include <stdexcept>

#include "platform/Geometry.h"
#include "platform/Input.h"

// The framework's error: a fixed message text that callers show or wrap.
class EiPlotError : public std::runtime_error {
 public:
  explicit EiPlotError(const QString& message) : std::runtime_error(message.toStdString()), Message(message) {}
  QString Message;
};
