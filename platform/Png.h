#pragma once
// PNG encoding with libpng, so that the deflate level is zlib's own 0 to 9.
#include <QByteArray>
#include <QImage>

// Encodes a picture as an 8-bit RGB PNG stream with the given zlib level (0 stores, 9 packs
// hardest). Empty for an empty picture, a level outside 0 to 9, or a failure of the encoder.
QByteArray EncodePng(const QImage& image, int level);
