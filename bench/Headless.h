#pragma once
// Benchmark programs run without a screen: the offscreen platform is taken unless a platform is
// named or a display is there to show windows on.
#include <QByteArray>
#include <QtGlobal>

inline void UseOffscreenWithoutDisplay() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
}
