#pragma once
// The main program of a benchmark that needs Qt: an application, on the offscreen platform unless a display is there.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench/Headless.h"

inline int RunHeadlessBenchmarks(int argc, char** argv) {
  UseOffscreenWithoutDisplay();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
