// The chart component's picture output: files, the clipboard, the kept picture and the save
// command. Everything draws through the one renderer.
#include <QFileInfo>
#include <QPicture>

#include "chart/core/iErrors.h"
#include "chart/core/rUdudComponent.h"
#include "chart/decorations/rUdudToolBar.h"
#include "chart/output/rUdudRenderer.h"
#include "chart/output/rUdudSaveDialog.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/FileReplace.h"
#include "platform/Jpeg.h"

namespace {
const QString kSaveFilter = QStringLiteral(
    "Bitmap (*.bmp)|*.bmp|Enhanced Metafile (*.emf)|*.emf|JPEG File (*.jpg)|*.jpg|PNG (*.png)|*.png");
const QString kUntitled = QStringLiteral("Untitled");

// Runs a user command; a failure becomes a message and false.
template <class Command>
bool ShowingFailure(Command&& command) {
  std::exception_ptr failure;
  try {
    command();
    return true;
  } catch (...) {
    failure = std::current_exception();
  }
  ShowMessage(FailureText(failure));
  return false;
}
}  // namespace

const QPicture& TiPlotComponent::GetMetaFilePicture() {
  if (!metaFilePicture_) metaFilePicture_ = std::make_shared<QPicture>();
  *metaFilePicture_ = RenderPicture(*this);
  return *metaFilePicture_;
}

void TiPlotComponent::SaveImageToBitmap(const QString& fileName) {
  const TBitmap bitmap = RenderBitmap(*this);
  WriteFileReplacing(fileName, EncodeBmpFile(bitmap.Image()));
}

void TiPlotComponent::SaveImageToMetaFile(const QString& fileName) {
  const TBitmap bitmap = RenderBitmap(*this);
  WriteFileReplacing(fileName, EncodeEmfFile(bitmap.Image(), QString()));
}

void TiPlotComponent::SaveImageToJPEG(const QString& fileName, int compression, bool progressive) {
  WriteFileReplacing(fileName, GetJPEGImage(compression, progressive));
}

void TiPlotComponent::SaveImageToPNG(const QString& fileName, int compression) {
  CheckPngCompression(compression);
  const TBitmap bitmap = RenderBitmap(*this);
  WriteFileReplacing(fileName, EncodePngFile(bitmap.Image(), compression));
}

QByteArray TiPlotComponent::GetJPEGImage(int compression, bool progressive) {
  CheckJpegCompression(compression);
  const TBitmap bitmap = RenderBitmap(*this);
  return EncodeJpegFile(bitmap, compression, progressive);
}

void TiPlotComponent::CopyToClipBoard() {
  BeginUpdate();
  // A chart without toolbars has none to hide and none to show again.
  const bool hasToolBars = ToolBarCount() > 0;
  const bool toolBarsVisible = hasToolBars && ToolBar(0)->Visible();
  auto restore = [&] {
    if (hasToolBars) Master()->SetToolBarsVisible(toolBarsVisible);
    EndUpdate();
  };
  try {
    if (hasToolBars) Master()->SetToolBarsVisible(false);
    Master()->DeselectAll();
    switch (copyToClipBoardFormat_) {
      case ipefBitmap:
        ClipboardSetBitmap(RenderBitmap(*this).Image());
        break;
      case ipefJPEG: {
        // The clipboard receives what the JPEG data decode to, losses included.
        const QByteArray jpeg = GetJPEGImage(100, false);
        TBitmap decoded;
        QString reason;
        if (DecodeJpeg(reinterpret_cast<const std::uint8_t*>(jpeg.constData()), static_cast<std::size_t>(jpeg.size()),
                       decoded, &reason) != TJpegResult::Ok)
          throw EiError(reason);
        ClipboardSetBitmap(decoded.Image());
        break;
      }
      case ipefMetaFile:
      default: {
        // One drawing serves all three flavours: the recorded picture is replayed for the
        // bitmap and the metafile and translated for SVG.
        const QPicture& picture = GetMetaFilePicture();
        const QSize size(Width(), Height());
        const QImage image = PictureToImage(picture, size);
        ClipboardSetPicture(image, EncodeSvgFile(picture, size), EncodeEmfFile(image, QStringLiteral("Strip Chart")));
        break;
      }
    }
  } catch (...) {
    restore();
    throw;
  }
  restore();
}

void TiPlotComponent::SaveImageWithDialog() {
  if (!saveDialog_) saveDialog_ = std::make_shared<TiSaveDialog>(this);
  // The last chosen name is not proposed again.
  savePickerFileName_ = kUntitled;
  TiSaveDialog& dialog = *saveDialog_;
  dialog.FileName = savePickerFileName_;
  dialog.Filter = kSaveFilter;
  dialog.DefaultExt.clear();
  dialog.FilterIndex = 1;
  if (!dialog.Execute()) return;
  savePickerFileName_ = dialog.FileName;
  Master()->DeselectAll();

  const QString name = savePickerFileName_;
  const QString ending = name.right(3);
  if (ending == QLatin1String("bmp"))
    SaveImageToBitmap(name);
  else if (ending == QLatin1String("emf"))
    SaveImageToMetaFile(name);
  else if (ending == QLatin1String("jpg"))
    SaveImageToJPEG(name, 100, true);
  else if (ending == QLatin1String("png"))
    SaveImageToPNG(name, 9);
}

bool TiPlotComponent::PrintCommand() {
  return ShowingFailure([this] { PrintChart(); });
}
bool TiPlotComponent::CopyCommand() {
  return ShowingFailure([this] { CopyToClipBoard(); });
}
bool TiPlotComponent::SaveCommand() {
  return ShowingFailure([this] { SaveImageWithDialog(); });
}
