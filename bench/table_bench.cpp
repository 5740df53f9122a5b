// Tables: laying out a table whose cells were measured before (every layout pass of a paint),
// beside the same layout after a cell changed (every cell measured again), and drawing a table
// of many rows of which only a few are shown.
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"

#include <QApplication>

#include "chart/core/rUdudComponent.h"
#include "platform/Bitmap.h"

namespace {

TiPlotTable* MakeTable(TiPlotComponent& chart, int rows) {
  TiPlotTable* table = chart.Table(chart.AddTable());
  for (int c = 0; c < 4; ++c) table->AddColumn(QStringLiteral("Column %1").arg(c));
  for (int r = 0; r < rows; ++r)
    table->AddRow(QStringLiteral("%1\r\n%2\r\n%3\r\n%4").arg(400 + r).arg(r * 0.25).arg(r % 97).arg(QStringLiteral("row")));
  table->SetLayoutRect(Rect(0, 0, 400, 600));
  return table;
}

void BM_TableLayoutMeasured(benchmark::State& state) {
  TiPlotComponent chart;
  TiPlotTable* table = MakeTable(chart, static_cast<int>(state.range(0)));
  TBitmap bitmap(400, 600, pfDevice);
  table->LayoutTable(bitmap.Canvas());
  for (auto _ : state) table->LayoutTable(bitmap.Canvas());
}
BENCHMARK(BM_TableLayoutMeasured)->Arg(1000);

void BM_TableLayoutAfterChange(benchmark::State& state) {
  TiPlotComponent chart;
  TiPlotTable* table = MakeTable(chart, static_cast<int>(state.range(0)));
  TBitmap bitmap(400, 600, pfDevice);
  int i = 0;
  for (auto _ : state) {
    table->SetCell(0, 0, QString::number(++i));
    table->LayoutTable(bitmap.Canvas());
  }
}
BENCHMARK(BM_TableLayoutAfterChange)->Arg(1000);

void BM_TableDraw(benchmark::State& state) {
  TiPlotComponent chart;
  TiPlotTable* table = MakeTable(chart, static_cast<int>(state.range(0)));
  table->SetRowsMax(20);
  TBitmap bitmap(400, 600, pfDevice);
  table->Draw(bitmap.Canvas(), clBlack);   // the cells are measured once, before
  for (auto _ : state) table->Draw(bitmap.Canvas(), clBlack);
}
BENCHMARK(BM_TableDraw)->Arg(20)->Arg(100000);

}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
