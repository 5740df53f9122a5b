#pragma once
// The main program of a benchmark that needs Qt: an application with the program's fonts, on the
// offscreen platform unless a display is there.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench/Headless.h"
#include "platform/Graphics.h"

inline int RunHeadlessBenchmarks(int argc, char** argv) {
  UseOffscreenWithoutDisplay();
  QApplication app(argc, argv);
  RegisterPlatformFonts();  // the faces the chart asks for by name, as the program has them
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
