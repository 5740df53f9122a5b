// A batch of 100 webcam photographs to CSV through the command line's run, on one worker and on
// every core, beside decoding the same 100 files alone with our picture loader.
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>

#include "app/CsvExport.h"
#include "app/SpectrumCore.h"
#include "app/cli/BatchRun.h"
#include "app/cli/CommandLine.h"
#include "platform/FileReplace.h"
#include "platform/Picture.h"

namespace {
constexpr int kPhotographs = 100;

QString Examples() { return QDir(QStringLiteral(LUMIO_EXAMPLES)).absolutePath(); }

// 100 files made from the webcam examples, in turn, under distinct names.
struct TBatch {
  QTemporaryDir Dir;
  QStringList Files;
  TBatch() {
    const char* const sources[] = {"webcam-1-ipa-glass.jpg", "webcam-2-ipa-glass.jpg", "webcam-ipa-glass.jpg", "webcam-cfl.jpg"};
    for (int i = 0; i < kPhotographs; ++i) {
      const QString to = Dir.filePath(QStringLiteral("cuvette-%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
      if (!QFile::copy(Examples() + QLatin1Char('/') + QLatin1String(sources[i % 4]), to)) std::abort();
      Files << to;
    }
    QDir(Dir.path()).mkdir(QStringLiteral("out"));
  }
};

TBatch& Batch() {
  static TBatch batch;
  return batch;
}

void BM_DecodeBatch(benchmark::State& state) {
  const QStringList& files = Batch().Files;
  for (auto _ : state)
    for (const QString& f : files) benchmark::DoNotOptimize(LoadPictureFile(f).Bitmap.Width());
  state.SetItemsProcessed(state.iterations() * kPhotographs);
}
BENCHMARK(BM_DecodeBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

// range(0): worker threads, 0 for one per core.
void BM_BatchToCsv(benchmark::State& state) {
  TCliOptions o;
  o.Samples = Batch().Files;
  o.Reference = Examples() + QStringLiteral("/webcam-ipa-glass.jpg");
  o.SampleEnds = o.ReferenceEnds = QStringList{QStringLiteral("110"), QStringLiteral("75"), QStringLiteral("414"), QStringLiteral("75")};
  o.Band = QStringLiteral("5");
  o.Trace = ptTransmittance;
  o.TraceGiven = true;
  o.Csv = Batch().Dir.filePath(QStringLiteral("out/{name}.csv"));
  o.Threads = static_cast<int>(state.range(0));
  for (auto _ : state)
    if (RunCommandLine(o) != kExitSuccess) state.SkipWithError("the batch failed");
  state.SetItemsProcessed(state.iterations() * kPhotographs);
  state.counters["threads"] = o.Threads > 0 ? o.Threads : QThread::idealThreadCount();
}
BENCHMARK(BM_BatchToCsv)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
// The steps of one photograph, to see where a batch's time goes beyond decoding.
struct TPair {
  TBitmap Sample, Reference;
  TSpectrumRecord S, R;
  TTransmittanceResult T;
  TPair() {
    Sample = LoadPictureFile(Batch().Files[0]).Bitmap;
    Reference = LoadPictureFile(Examples() + QStringLiteral("/webcam-ipa-glass.jpg")).Bitmap;
    for (TSpectrumRecord* r : {&S, &R}) r->BlueX = 110, r->BlueY = 75, r->RedX = 414, r->RedY = 75, r->BandWidth = 5;
    ComputeSpectra(&Sample, S, &Reference, R, T);
  }
};

void BM_ExtractAndTransmittance(benchmark::State& state) {
  TPair p;
  for (auto _ : state) {
    ExtractSpectrum(p.Sample, p.S);
    ComputeTransmittance(p.S, p.R, p.T);
  }
}
BENCHMARK(BM_ExtractAndTransmittance)->Unit(benchmark::kMicrosecond);

void BM_CsvText(benchmark::State& state) {
  TPair p;
  for (auto _ : state) benchmark::DoNotOptimize(CsvText(p.S, p.R, p.T));
}
BENCHMARK(BM_CsvText)->Unit(benchmark::kMicrosecond);

void BM_SaturationNote(benchmark::State& state) {
  TPair p;
  for (auto _ : state) benchmark::DoNotOptimize(SaturationNoteText(ptTransmittance, &p.Sample, p.S, &p.Reference, p.R));
}
BENCHMARK(BM_SaturationNote)->Unit(benchmark::kMicrosecond);
// The batch's file writes alone: 100 CSV files of the pair's size, each written safely.
void BM_WriteCsvFiles(benchmark::State& state) {
  TPair p;
  const QByteArray csv = CsvText(p.S, p.R, p.T);
  QStringList names;
  for (int i = 0; i < kPhotographs; ++i) names << Batch().Dir.filePath(QStringLiteral("out/write-%1.csv").arg(i));
  for (auto _ : state)
    for (const QString& n : names) WriteFileReplacing(n, csv);
  state.SetItemsProcessed(state.iterations() * kPhotographs);
}
BENCHMARK(BM_WriteCsvFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
