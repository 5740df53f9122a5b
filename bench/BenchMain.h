#pragma once
// The main program of a benchmark that needs Qt: an application on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>

inline int RunHeadlessBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
