#pragma once
// The clipboard: a bitmap, or a picture offered as a bitmap, as SVG and as an enhanced metafile.
#include <QByteArray>
#include <QImage>
#include <stdexcept>

#include "platform/Picture.h"  // EPictureError

// MIME type under which the enhanced-metafile flavour is offered.
inline constexpr const char* kEmfMimeType = "image/x-emf";
inline constexpr const char* kSvgMimeType = "image/svg+xml";

// Puts a bitmap on the clipboard. Raises EPictureError when there is no clipboard or the picture is empty.
void ClipboardSetBitmap(const QImage& image);
// Puts a picture on the clipboard in three flavours: the bitmap, SVG text and EMF bytes. The
// empty flavours are left out; the bitmap is required.
void ClipboardSetPicture(const QImage& image, const QByteArray& svg, const QByteArray& emf);
