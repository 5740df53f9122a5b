#pragma once
// JPEG decoding with libjpeg straight into a TBitmap.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/Bitmap.h"

enum class TJpegResult {
  Ok,        // decoded
  Invalid,   // not a JPEG stream, or corrupt, truncated, empty or of an unsupported kind
  TooLarge,  // the picture would not fit in the memory allowed for a picture
};

// The largest picture accepted, in pixels (120 megapixels: 360 MB as 24-bit rows).
inline constexpr std::int64_t kMaxPicturePixels = 120'000'000;

// Decodes a JPEG stream. Colour pictures (YCbCr, RGB, CMYK and YCCK, baseline or progressive)
// give a 24-bit bitmap, grayscale pictures an 8-bit one. On failure `bitmap` is empty and
// `reason` (when given) receives the decoder's explanation. Never aborts the program: libjpeg's
// fatal errors return here, and truncated or corrupt data count as invalid.
TJpegResult DecodeJpeg(const std::uint8_t* data, std::size_t size, TBitmap& bitmap, QString* reason = nullptr);

// The rows of a picture that a reader needs: First to Last, both included; none when Last < First.
struct TJpegRows {
  int First = 0;
  int Last = -1;
};
// Chooses the rows from the picture's size, once the stream's header has been read.
using TJpegRowChoice = std::function<TJpegRows(int width, int height)>;

// DecodeJpeg for a reader that needs only some rows (a batch reads the band of a spectrum): the
// chosen rows hold exactly what DecodeJpeg gives them, the others are black. The rest of the
// stream is still read and checked, so a damaged or truncated file fails as it does for
// DecodeJpeg; only the rows' pixels are not made. CMYK and YCCK pictures are decoded whole.
TJpegResult DecodeJpegRows(const std::uint8_t* data, std::size_t size, const TJpegRowChoice& choose, TBitmap& bitmap,
                           QString* reason = nullptr);

// How a picture is written: quality 1 to 100, progressive or baseline, and the colour space of
// the stream (CMYK and YCCK are written inverted, with the Adobe marker, as Adobe does).
enum TJpegColorSpace { jcsYCbCr, jcsGrayscale, jcsCMYK, jcsYCCK };
struct TJpegWriteOptions {
  int Quality = 90;
  bool Progressive = false;
  TJpegColorSpace ColorSpace = jcsYCbCr;
  bool BestDCT = true;  // the slow, exact floating-point DCT
};

// Encodes a bitmap (any pixel format) as a JPEG stream; empty on failure or for an empty bitmap.
QByteArray EncodeJpeg(const TBitmap& bitmap, const TJpegWriteOptions& options = {});
