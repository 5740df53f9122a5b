#include "platform/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace {
// Progressive files with absurd numbers of scans take minutes to decode; no real file has this many.
constexpr int kMaxScans = 500;
// The decoder's own working memory (progressive coefficient buffers hold the whole picture).
constexpr long kMaxDecoderMemory = 1L << 30;

struct TErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool tooLarge;
};

[[noreturn]] void Fail(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  const int code = cinfo->err->msg_code;
  err->tooLarge = code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE;
  std::longjmp(err->jump, 1);
}

void ErrorExit(j_common_ptr cinfo) { Fail(cinfo); }

// Warnings about missing or damaged data end the decode: a truncated photograph would otherwise
// come out with a grey lower part and be taken for a good one.
void EmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION:
      Fail(cinfo);
    default:
      cinfo->err->num_warnings++;
  }
}

void OutputMessage(j_common_ptr) {}  // nothing goes to stderr

void Progress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) {
    auto* err = reinterpret_cast<TErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "More than %d scans", kMaxScans);
    err->tooLarge = false;
    std::longjmp(err->jump, 1);
  }
}

inline std::uint8_t Scale(unsigned a, unsigned b) { return static_cast<std::uint8_t>((a * b + 127) / 255); }
}  // namespace

namespace {
QImage ZeroedImage(int width, int height, QImage::Format format) {
  const qsizetype stride = (static_cast<qsizetype>(width) * (format == QImage::Format_Grayscale8 ? 1 : 3) + 3) & ~qsizetype{3};
  void* bits = std::calloc(static_cast<std::size_t>(height), static_cast<std::size_t>(stride));
  if (!bits) return QImage();
  return QImage(static_cast<uchar*>(bits), width, height, stride, format, [](void* p) { std::free(p); }, bits);
}

// Decodes into `image`, which belongs to the caller. Only plain data lives in this frame between
// setjmp and a possible longjmp, so that no destructor is ever skipped. The rows are written
// straight into the image, which is allocated without being cleared first.
TJpegResult DecodeCore(const std::uint8_t* data, std::size_t size, QImage& image, TErrorManager& err,
                       const TJpegRowChoice* choose) {
  jpeg_decompress_struct cinfo;
  jpeg_progress_mgr progress;
  std::memset(&cinfo, 0, sizeof cinfo);
  std::memset(&progress, 0, sizeof progress);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;
  progress.progress_monitor = Progress;

  volatile int created = 0;
  if (setjmp(err.jump)) {
    if (created) jpeg_destroy_decompress(&cinfo);
    return err.tooLarge ? TJpegResult::TooLarge : TJpegResult::Invalid;
  }
  jpeg_create_decompress(&cinfo);
  created = 1;
  cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
  cinfo.progress = &progress;
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);

  const std::int64_t pixels = static_cast<std::int64_t>(cinfo.image_width) * cinfo.image_height;
  if (pixels > kMaxPicturePixels) {
    std::snprintf(err.message, sizeof err.message, "Picture of %u x %u pixels is too large", cinfo.image_width,
                  cinfo.image_height);
    err.tooLarge = true;
    std::longjmp(err.jump, 1);
  }

  bool cmyk = false;
  QImage::Format format = QImage::Format_BGR888;
  switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
      cinfo.out_color_space = JCS_GRAYSCALE;
      format = QImage::Format_Grayscale8;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      cinfo.out_color_space = JCS_CMYK;  // libjpeg turns YCCK into CMYK; the rest is done below
      cmyk = true;
      break;
    default:
      cinfo.out_color_space = JCS_EXT_BGR;  // the byte order of 24-bit rows
  }
  jpeg_start_decompress(&cinfo);

  const int width = static_cast<int>(cinfo.output_width), height = static_cast<int>(cinfo.output_height);
  // A reader of some rows gets zeroed memory: the system gives it as untouched zero pages, so the
  // rows never decoded cost neither a fill nor a page fault.
  const bool someRows = choose && *choose && !cmyk;
  image = someRows ? ZeroedImage(width, height, format) : QImage(width, height, format);
  if (image.isNull()) {
    std::snprintf(err.message, sizeof err.message, "Not enough memory for a picture of %d x %d pixels", width, height);
    err.tooLarge = true;
    std::longjmp(err.jump, 1);
  }

  if (cmyk) {
    // Adobe writes CMYK inverted (0 = full ink), which its marker tells.
    const bool inverted = cinfo.saw_Adobe_marker;
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                static_cast<JDIMENSION>(width) * 4, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
      const int y = static_cast<int>(cinfo.output_scanline);
      if (jpeg_read_scanlines(&cinfo, row, 1) != 1) break;
      std::uint8_t* out = image.scanLine(y);
      const JSAMPLE* in = row[0];
      for (int x = 0; x < width; ++x, in += 4, out += 3) {
        unsigned c = in[0], m = in[1], yl = in[2], k = in[3];
        if (!inverted) c = 255 - c, m = 255 - m, yl = 255 - yl, k = 255 - k;
        out[0] = Scale(yl, k);
        out[1] = Scale(m, k);
        out[2] = Scale(c, k);
      }
    }
  } else {
    JSAMPROW rows[16];
    std::uint8_t* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    // Rows outside [first, last] are skipped: entropy-decoded (so damage is still found) but never
    // turned into pixels. The last row is always read, because a skip to the very end would stop
    // reading the stream there.
    int first = 0, last = height - 1;
    if (choose && *choose) {
      TJpegRows wanted{first, last};
      try {
        wanted = (*choose)(width, height);
      } catch (...) {  // a chooser that fails gets every row
      }
      first = std::clamp(wanted.First, 0, height - 1);
      last = std::clamp(wanted.Last, -1, height - 1);
      if (last < first) first = last = height;  // nothing wanted: skip all but the last row
    }
    const auto readTo = [&](int end) {  // reads rows up to `end`, excluded
      while (static_cast<int>(cinfo.output_scanline) < end) {
        const int y = static_cast<int>(cinfo.output_scanline);
        const int n = std::min(16, end - y);
        for (int i = 0; i < n; ++i) rows[i] = bits + stride * (y + i);
        if (jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(n)) == 0) break;
      }
    };
    const auto skipTo = [&](int end) {  // skipped rows stay as allocated: zero
      const int from = static_cast<int>(cinfo.output_scanline);
      if (end > from) jpeg_skip_scanlines(&cinfo, static_cast<JDIMENSION>(end - from));
    };
    skipTo(std::min(first, height - 1));
    if (static_cast<int>(cinfo.output_scanline) == first) readTo(last + 1);
    if (static_cast<int>(cinfo.output_scanline) >= std::min(last + 1, height - 1)) {
      skipTo(height - 1);
      readTo(height);
    }
    if (last != height - 1)  // read only to finish the stream
      std::memset(bits + stride * (height - 1), 0, static_cast<std::size_t>(stride));
  }
  if (cinfo.output_scanline < cinfo.output_height) {
    std::snprintf(err.message, sizeof err.message, "Premature end of JPEG file");
    err.tooLarge = false;
    std::longjmp(err.jump, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return TJpegResult::Ok;
}
}  // namespace

namespace {
TJpegResult Decode(const std::uint8_t* data, std::size_t size, const TJpegRowChoice* choose, TBitmap& bitmap,
                   QString* reason) {
  bitmap = TBitmap();
  if (size == 0 || data == nullptr) {
    if (reason) *reason = QStringLiteral("Empty file");
    return TJpegResult::Invalid;
  }
  TErrorManager err;
  std::memset(&err, 0, sizeof err);
  QImage image;
  const TJpegResult result = DecodeCore(data, size, image, err, choose);
  if (result != TJpegResult::Ok) {
    if (reason) *reason = QString::fromLocal8Bit(err.message);
    return result;
  }
  // A 24-bit image is taken over as it is; a grey one becomes the 8-bit palette picture.
  bitmap.AssignImage(image);
  return TJpegResult::Ok;
}
}  // namespace

TJpegResult DecodeJpeg(const std::uint8_t* data, std::size_t size, TBitmap& bitmap, QString* reason) {
  return Decode(data, size, nullptr, bitmap, reason);
}

TJpegResult DecodeJpegRows(const std::uint8_t* data, std::size_t size, const TJpegRowChoice& choose, TBitmap& bitmap,
                           QString* reason) {
  return Decode(data, size, &choose, bitmap, reason);
}

namespace {
// Rows of the stream in the input colour space of the encoder: B,G,R, grey, or inverted CMYK.
void InputRow(const TBitmap& bitmap, int y, TJpegColorSpace space, std::uint8_t* out) {
  const int w = bitmap.Width();
  const bool bgr = bitmap.PixelFormat() == pf24bit;
  const std::uint8_t* row = bgr ? bitmap.ScanLine(y) : nullptr;
  for (int x = 0; x < w; ++x) {
    unsigned r, g, b;
    if (bgr) {
      b = row[3 * x], g = row[3 * x + 1], r = row[3 * x + 2];
    } else {
      const QRgb c = bitmap.Image().pixel(x, y);
      r = static_cast<unsigned>(qRed(c)), g = static_cast<unsigned>(qGreen(c)), b = static_cast<unsigned>(qBlue(c));
    }
    switch (space) {
      case jcsGrayscale:
        out[x] = static_cast<std::uint8_t>((299 * r + 587 * g + 114 * b + 500) / 1000);
        break;
      case jcsCMYK:
      case jcsYCCK: {
        // K takes the common part; C, M and Y the rest. Inverted: 255 means no ink.
        const unsigned k = 255 - std::max({r, g, b});
        const unsigned scale = 255 - k;
        auto ink = [&](unsigned v) { return scale ? static_cast<std::uint8_t>(255 - (255 * (scale - v) + scale / 2) / scale) : std::uint8_t{255}; };
        out[4 * x] = ink(r), out[4 * x + 1] = ink(g), out[4 * x + 2] = ink(b), out[4 * x + 3] = static_cast<std::uint8_t>(255 - k);
        break;
      }
      default:
        out[3 * x] = static_cast<std::uint8_t>(r), out[3 * x + 1] = static_cast<std::uint8_t>(g),
                out[3 * x + 2] = static_cast<std::uint8_t>(b);
    }
  }
}

// Encodes into a buffer that libjpeg allocates; the caller frees it. False on a libjpeg error.
bool EncodeCore(const TBitmap& bitmap, const TJpegWriteOptions& o, unsigned char** buffer, unsigned long* size) {
  jpeg_compress_struct cinfo;
  TErrorManager err;
  std::memset(&cinfo, 0, sizeof cinfo);
  std::memset(&err, 0, sizeof err);
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.output_message = OutputMessage;
  volatile int created = 0;
  if (setjmp(err.jump)) {
    if (created) jpeg_destroy_compress(&cinfo);
    return false;
  }
  jpeg_create_compress(&cinfo);
  created = 1;
  jpeg_mem_dest(&cinfo, buffer, size);
  cinfo.image_width = static_cast<JDIMENSION>(bitmap.Width());
  cinfo.image_height = static_cast<JDIMENSION>(bitmap.Height());
  switch (o.ColorSpace) {
    case jcsGrayscale: cinfo.input_components = 1, cinfo.in_color_space = JCS_GRAYSCALE; break;
    case jcsCMYK:
    case jcsYCCK: cinfo.input_components = 4, cinfo.in_color_space = JCS_CMYK; break;
    default: cinfo.input_components = 3, cinfo.in_color_space = JCS_RGB;
  }
  jpeg_set_defaults(&cinfo);
  if (o.ColorSpace == jcsYCCK) jpeg_set_colorspace(&cinfo, JCS_YCCK);
  jpeg_set_quality(&cinfo, std::clamp(o.Quality, 1, 100), TRUE);
  if (o.BestDCT) cinfo.dct_method = JDCT_FLOAT;
  if (o.Progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              cinfo.image_width * static_cast<JDIMENSION>(cinfo.input_components), 1);
  while (cinfo.next_scanline < cinfo.image_height) {
    InputRow(bitmap, static_cast<int>(cinfo.next_scanline), o.ColorSpace, row[0]);
    jpeg_write_scanlines(&cinfo, row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return true;
}
}  // namespace

QByteArray EncodeJpeg(const TBitmap& bitmap, const TJpegWriteOptions& options) {
  if (bitmap.Empty()) return {};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = EncodeCore(bitmap, options, &buffer, &size);
  QByteArray out;
  if (ok && buffer) out = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  return out;
}
