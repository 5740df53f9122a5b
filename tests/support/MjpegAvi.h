#pragma once
// A Motion-JPEG AVI file written in code: one video stream of JPEG frames (RIFF 'AVI ' with the
// avih, strh and strf headers, '00dc' chunks in 'movi' and an idx1 index), so that tests and
// benchmarks make their videos with our own JPEG encoder and need no encoder program.
#include <QByteArray>
#include <QtEndian>
#include <cstdint>
#include <vector>

#include "platform/Jpeg.h"

namespace mjpeg_avi {
inline void U32(QByteArray& b, std::uint32_t v) {
  char d[4];
  qToLittleEndian(v, d);
  b.append(d, 4);
}
inline void U16(QByteArray& b, std::uint16_t v) {
  char d[2];
  qToLittleEndian(v, d);
  b.append(d, 2);
}
inline void Cc(QByteArray& b, const char* fourcc) { b.append(fourcc, 4); }
// A chunk: fourcc, size, data, padded to an even length.
inline QByteArray Chunk(const char* fourcc, const QByteArray& data) {
  QByteArray b;
  Cc(b, fourcc);
  U32(b, static_cast<std::uint32_t>(data.size()));
  b += data;
  if (data.size() % 2) b.append('\0');
  return b;
}
inline QByteArray List(const char* type, const QByteArray& data) {
  QByteArray inner;
  Cc(inner, type);
  inner += data;
  return Chunk("LIST", inner);
}
}  // namespace mjpeg_avi

// The AVI file of the JPEG streams `frames`, all width x height, at `fps` frames a second.
inline QByteArray MjpegAvi(const std::vector<QByteArray>& frames, int width, int height, int fps) {
  using namespace mjpeg_avi;
  const auto n = static_cast<std::uint32_t>(frames.size());
  std::uint32_t largest = 0;
  for (const QByteArray& f : frames) largest = std::max(largest, static_cast<std::uint32_t>(f.size()));
  const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);

  QByteArray avih;
  U32(avih, 1000000u / static_cast<std::uint32_t>(fps));  // microseconds per frame
  U32(avih, largest * static_cast<std::uint32_t>(fps));   // max bytes per second
  U32(avih, 0);                                           // padding granularity
  U32(avih, 0x10);                                        // AVIF_HASINDEX
  U32(avih, n);                                           // total frames
  U32(avih, 0);                                           // initial frames
  U32(avih, 1);                                           // streams
  U32(avih, largest);                                     // suggested buffer size
  U32(avih, w);
  U32(avih, h);
  for (int i = 0; i < 4; ++i) U32(avih, 0);

  QByteArray strh;
  Cc(strh, "vids");
  Cc(strh, "MJPG");
  U32(strh, 0);  // flags
  U16(strh, 0);  // priority
  U16(strh, 0);  // language
  U32(strh, 0);  // initial frames
  U32(strh, 1);  // scale
  U32(strh, static_cast<std::uint32_t>(fps));  // rate: rate / scale frames a second
  U32(strh, 0);  // start
  U32(strh, n);  // length in frames
  U32(strh, largest);
  U32(strh, 0xFFFFFFFFu);  // quality: default
  U32(strh, 0);            // sample size: varies
  U16(strh, 0);
  U16(strh, 0);
  U16(strh, static_cast<std::uint16_t>(w));
  U16(strh, static_cast<std::uint16_t>(h));

  QByteArray strf;  // BITMAPINFOHEADER
  U32(strf, 40);
  U32(strf, w);
  U32(strf, h);
  U16(strf, 1);
  U16(strf, 24);
  Cc(strf, "MJPG");
  U32(strf, w * h * 3);
  for (int i = 0; i < 4; ++i) U32(strf, 0);

  const QByteArray hdrl = List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf)));

  QByteArray movi, idx1;
  std::uint32_t offset = 4;  // from the 'movi' type
  for (const QByteArray& f : frames) {
    const QByteArray chunk = Chunk("00dc", f);
    Cc(idx1, "00dc");
    U32(idx1, 0x10);  // key frame
    U32(idx1, offset);
    U32(idx1, static_cast<std::uint32_t>(f.size()));
    movi += chunk;
    offset += static_cast<std::uint32_t>(chunk.size());
  }
  QByteArray body;
  Cc(body, "AVI ");
  body += hdrl + List("movi", movi) + Chunk("idx1", idx1);
  QByteArray file;
  Cc(file, "RIFF");
  U32(file, static_cast<std::uint32_t>(body.size()));
  return file + body;
}

// The same from bitmaps, encoded with our JPEG encoder.
inline QByteArray MjpegAvi(const std::vector<TBitmap>& frames, int fps, int quality = 90) {
  std::vector<QByteArray> jpegs;
  TJpegWriteOptions options;
  options.Quality = quality;
  options.BestDCT = false;
  for (const TBitmap& f : frames) jpegs.push_back(EncodeJpeg(f, options));
  return MjpegAvi(jpegs, frames.empty() ? 0 : frames.front().Width(), frames.empty() ? 0 : frames.front().Height(), fps);
}
