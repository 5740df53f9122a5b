#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>

namespace {
QClipboard* TheClipboard() {
  QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
  if (!clipboard) throw EPictureError(QStringLiteral("Cannot open clipboard"));
  return clipboard;
}
}  // namespace

void ClipboardSetBitmap(const QImage& image) { ClipboardSetPicture(image, {}, {}); }

void ClipboardSetPicture(const QImage& image, const QByteArray& svg, const QByteArray& emf) {
  if (image.isNull()) throw EPictureError(QStringLiteral("Cannot put an empty picture on the clipboard"));
  QClipboard* clipboard = TheClipboard();
  auto data = std::make_unique<QMimeData>();
  data->setImageData(image);
  if (!svg.isEmpty()) data->setData(QString::fromLatin1(kSvgMimeType), svg);
  if (!emf.isEmpty()) data->setData(QString::fromLatin1(kEmfMimeType), emf);
  clipboard->setMimeData(data.release());  // the clipboard owns it from here
}
