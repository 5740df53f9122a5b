#include "platform/PickerDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <cmath>

namespace {
class TQtPickers final : public TPickerDialogs {
 public:
  bool ExecuteFont(TFont& font) override {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font.ToQFont(), QApplication::activeWindow());
    if (!ok) return false;
    font.Name = chosen.family();
    // The dialog speaks in points; the platform's heights are pixels at 96 per inch.
    if (chosen.pixelSize() > 0)
      font.Height = chosen.pixelSize();
    else if (chosen.pointSizeF() > 0)
      font.Height = static_cast<int>(std::nearbyint(chosen.pointSizeF() * 96.0 / 72.0));
    TFontStyles style = 0;
    if (chosen.bold()) style |= FontStyleBit(fsBold);
    if (chosen.italic()) style |= FontStyleBit(fsItalic);
    if (chosen.underline()) style |= FontStyleBit(fsUnderline);
    if (chosen.strikeOut()) style |= FontStyleBit(fsStrikeOut);
    font.Style = style;
    return true;
  }
  bool ExecuteColor(TColor& color) override {
    const QColor chosen = QColorDialog::getColor(ToQColor(color), QApplication::activeWindow());
    if (!chosen.isValid()) return false;
    color = FromQColor(chosen);
    return true;
  }
};

TQtPickers g_qtPickers;
TPickerDialogs* g_pickers = nullptr;
}  // namespace

TPickerDialogs& Pickers() { return g_pickers ? *g_pickers : g_qtPickers; }
void SetPickers(TPickerDialogs* pickers) { g_pickers = pickers; }

TPickerRecorder::TPickerRecorder() : previous_(g_pickers) { SetPickers(this); }
TPickerRecorder::~TPickerRecorder() { SetPickers(previous_); }

bool TPickerRecorder::ExecuteFont(TFont& font) {
  FontRequests.push_back(font);
  if (!FontAnswer) return false;
  const TColor keep = font.Color;
  font = *FontAnswer;
  font.Color = keep;
  return true;
}

bool TPickerRecorder::ExecuteColor(TColor& color) {
  ColorRequests.push_back(color);
  if (!ColorAnswer) return false;
  color = *ColorAnswer;
  return true;
}
