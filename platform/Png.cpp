#include "platform/Png.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace {
void AppendToBuffer(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<QByteArray*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}
void NoFlush(png_structp) {}

// Everything that lives across setjmp is made before it, so a longjmp skips no destructor.
bool EncodeCore(const QImage& rgb, int level, QByteArray& out, std::vector<png_bytep>& rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendToBuffer, NoFlush);
  png_set_compression_level(png, level);
  png_set_IHDR(png, info, static_cast<png_uint_32>(rgb.width()), static_cast<png_uint_32>(rgb.height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

QByteArray EncodePng(const QImage& image, int level) {
  if (image.isNull() || level < 0 || level > 9) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  if (rgb.isNull()) return {};
  std::vector<png_bytep> rows(static_cast<std::size_t>(rgb.height()));
  for (int y = 0; y < rgb.height(); ++y) rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(rgb.constScanLine(y));
  QByteArray out;
  if (!EncodeCore(rgb, level, out, rows)) return {};
  return out;
}
