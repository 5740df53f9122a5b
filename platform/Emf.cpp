#include "platform/Emf.h"

#include <QtEndian>
#include <cmath>

namespace {
constexpr int kReferenceDpi = 96;
constexpr int kReferenceWidth = 1920, kReferenceHeight = 1080;

class TRecordWriter {
 public:
  explicit TRecordWriter(QByteArray& out) : out_(out) {}
  void U32(std::uint32_t v) {
    char b[4];
    qToLittleEndian(v, b);
    out_.append(b, 4);
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  void U16(std::uint16_t v) {
    char b[2];
    qToLittleEndian(v, b);
    out_.append(b, 2);
  }
  void Rect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
    I32(l);
    I32(t);
    I32(r);
    I32(b);
  }
  void PadTo4() {
    while (out_.size() % 4) out_.append('\0');
  }
  void PatchU32(qsizetype at, std::uint32_t v) { qToLittleEndian(v, out_.data() + at); }
  qsizetype Size() const { return out_.size(); }

 private:
  QByteArray& out_;
};

// Hundredths of a millimetre of a pixel count on the reference device.
std::int32_t Hundredths(int pixels) {
  return static_cast<std::int32_t>(std::nearbyint(pixels * 2540.0 / kReferenceDpi));
}
}  // namespace

QByteArray EncodeEmf(const QImage& image, const QString& creator, const QString& description) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  if (rgb.isNull()) return {};
  const int w = rgb.width(), h = rgb.height();
  QByteArray out;
  TRecordWriter wr(out);

  // ---- header ----
  const QString text = creator + QChar(0) + description + QChar(0);
  constexpr std::uint32_t kHeaderFixed = 108;  // with both header extensions
  wr.U32(EMR_HEADER);
  wr.U32(0);  // size, patched below
  wr.Rect(0, 0, w - 1, h - 1);                              // bounds, inclusive pixels
  wr.Rect(0, 0, Hundredths(w) - 1, Hundredths(h) - 1);      // frame, inclusive 0.01 mm
  wr.U32(ENHMETA_SIGNATURE);
  wr.U32(0x00010000);  // version
  wr.U32(0);           // bytes of the file, patched below
  wr.U32(3);           // records: header, picture, end
  wr.U16(1);           // handles: only the reserved one
  wr.U16(0);
  wr.U32(static_cast<std::uint32_t>(text.size()));
  wr.U32(kHeaderFixed);
  wr.U32(0);  // palette entries
  wr.I32(kReferenceWidth);
  wr.I32(kReferenceHeight);
  wr.I32(static_cast<std::int32_t>(std::nearbyint(kReferenceWidth * 25.4 / kReferenceDpi)));
  wr.I32(static_cast<std::int32_t>(std::nearbyint(kReferenceHeight * 25.4 / kReferenceDpi)));
  wr.U32(0);  // pixel format size
  wr.U32(0);  // pixel format offset
  wr.U32(0);  // no OpenGL
  wr.I32(static_cast<std::int32_t>(std::nearbyint(kReferenceWidth * 25400.0 / kReferenceDpi)));
  wr.I32(static_cast<std::int32_t>(std::nearbyint(kReferenceHeight * 25400.0 / kReferenceDpi)));
  for (QChar c : text) wr.U16(c.unicode());
  wr.PadTo4();
  wr.PatchU32(4, static_cast<std::uint32_t>(wr.Size()));

  // ---- the picture: bottom-up 24-bit rows, blue-green-red, each padded to 4 bytes ----
  const qsizetype start = wr.Size();
  const std::int64_t stride64 = (static_cast<std::int64_t>(w) * 3 + 3) & ~std::int64_t{3};
  if (stride64 * h > 0x7FFF0000) return {};  // beyond what the record's 32-bit sizes hold
  const std::uint32_t stride = static_cast<std::uint32_t>(stride64);
  const std::uint32_t bitsSize = stride * static_cast<std::uint32_t>(h);
  constexpr std::uint32_t kFixed = 80, kInfo = 40;
  wr.U32(EMR_STRETCHDIBITS);
  wr.U32(kFixed + kInfo + bitsSize);
  wr.Rect(0, 0, w - 1, h - 1);
  wr.I32(0);  // destination x, y
  wr.I32(0);
  wr.I32(0);  // source x, y, width, height
  wr.I32(0);
  wr.I32(w);
  wr.I32(h);
  wr.U32(kFixed);  // bitmap info offset and size
  wr.U32(kInfo);
  wr.U32(kFixed + kInfo);  // bits offset and size
  wr.U32(bitsSize);
  wr.U32(0);           // DIB_RGB_COLORS
  wr.U32(0x00CC0020);  // SRCCOPY
  wr.I32(w);           // destination width, height
  wr.I32(h);
  // BITMAPINFOHEADER
  wr.U32(kInfo);
  wr.I32(w);
  wr.I32(h);  // positive: rows bottom-up
  wr.U16(1);
  wr.U16(24);
  wr.U32(0);  // BI_RGB
  wr.U32(bitsSize);
  wr.I32(3780);  // 96 pixels per inch in pixels per metre
  wr.I32(3780);
  wr.U32(0);
  wr.U32(0);
  QByteArray row(static_cast<qsizetype>(stride), '\0');
  for (int y = h - 1; y >= 0; --y) {
    const uchar* src = rgb.constScanLine(y);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = static_cast<char>(src[3 * x + 2]);
      row[3 * x + 1] = static_cast<char>(src[3 * x + 1]);
      row[3 * x + 2] = static_cast<char>(src[3 * x]);
    }
    out.append(row);
  }
  Q_ASSERT(wr.Size() - start == kFixed + kInfo + bitsSize);

  // ---- end of file ----
  wr.U32(EMR_EOF);
  wr.U32(20);
  wr.U32(0);     // palette entries
  wr.U32(0x10);  // their offset
  wr.U32(20);    // size of this record, again
  wr.PatchU32(48, static_cast<std::uint32_t>(wr.Size()));
  return out;
}
