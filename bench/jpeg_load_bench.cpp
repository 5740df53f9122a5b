// Loading a 6000 x 4000 camera-sized JPEG: a plain libjpeg-turbo decode of the file beside our
// picture loader (file to 24-bit bitmap) and the main window's LoadPicture (loader, view copy,
// marks), all on the same file in one run.
#include <benchmark/benchmark.h>

#include "bench/BenchMain.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <random>

#include <jpeglib.h>

#include "app/MainWindow.h"
#include "platform/Dialogs.h"
#include "platform/Jpeg.h"
#include "platform/Picture.h"
#include "support/PictureFiles.h"

namespace {
// A photograph-like picture: smooth colour gradients with sensor noise, quality 90.
const QString& PhotographFile() {
  static QTemporaryDir dir;
  static const QString path = [] {
    const int w = 6000, h = 4000;
    TBitmap b(w, h, pf24bit);
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> noise(-6, 6);
    for (int y = 0; y < h; ++y) {
      std::uint8_t* row = b.ScanLine(y);
      for (int x = 0; x < w; ++x) {
        auto clamp = [](int v) { return static_cast<std::uint8_t>(std::min(255, std::max(0, v))); };
        row[3 * x] = clamp(x * 255 / w + noise(rng));
        row[3 * x + 1] = clamp(y * 255 / h + noise(rng));
        row[3 * x + 2] = clamp(128 + ((x / 40 + y / 40) % 2) * 60 + noise(rng));
      }
    }
    const QString p = dir.filePath(QStringLiteral("photo.jpg"));
    if (!WriteJpegFile(p, b, {90, false, jcsYCbCr, false})) std::abort();
    return p;
  }();
  return path;
}

// libjpeg-turbo used the plain way: a stdio source, RGB rows into one buffer.
void BM_PlainLibjpegTurbo(benchmark::State& state) {
  const QByteArray name = QFile::encodeName(PhotographFile());
  for (auto _ : state) {
    FILE* f = std::fopen(name.constData(), "rb");
    if (!f) std::abort();
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, f);
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * cinfo.output_components;
    // A fresh buffer for each picture, as a program that loads pictures needs.
    std::unique_ptr<unsigned char[]> pixels(new unsigned char[stride * cinfo.output_height]);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = pixels.get() + stride * cinfo.output_scanline;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(f);
    benchmark::DoNotOptimize(pixels.get());
  }
}

void BM_LoadPictureFile(benchmark::State& state) {
  const QString path = PhotographFile();
  for (auto _ : state) {
    TPicture p = LoadPictureFile(path);
    benchmark::DoNotOptimize(p.Bitmap.ScanLine(0));
  }
}

void BM_MainWindowLoadPicture(benchmark::State& state) {
  const QString path = PhotographFile();
  TDialogRecorder dialogs;
  TForm1 form;
  // Marks with a band, as after calibration.
  for (auto [box, text] : {std::pair{2, "1000"}, {3, "2000"}, {5, "4000"}, {6, "2100"}, {7, "15"}})
    form.Edit[box]->setText(QString::fromLatin1(text));
  for (auto _ : state) {
    form.LoadPicture(path, sdSample);
    benchmark::DoNotOptimize(form.Image1Bitmap.Image().constBits());
  }
  if (!form.SampleLoaded || !dialogs.Messages.isEmpty()) state.SkipWithError("the picture did not load cleanly");
}
}  // namespace

BENCHMARK(BM_PlainLibjpegTurbo)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_LoadPictureFile)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_MainWindowLoadPicture)->Unit(benchmark::kMillisecond)->MinTime(3.0);

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
